// Fault injection for the tests: preloaded into varnok-dat, it makes the Nth
// call of one system function fail, so that every failure path of a rewrite
// can be walked through.
//
//   VARNOK_FAULT_CALL   the function: write, fsync (syncfs included: the
//                       flush of a batch), rename (renameat2 included),
//                       lseek, pread, read or copy_file_range
//   VARNOK_FAULT_AT     which call fails (1 = the first); 0 or unset: none
//   VARNOK_FAULT_COUNT  a file that receives, at exit, how many calls of the
//                       function were made and whether the fault was made
//
// Reads, writes and seeks on standard input, output and error are passed
// through and not counted: the messages a failure produces must still reach
// the user.
#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* chosen = nullptr;
long failAt = 0;
std::atomic<long> calls{0};
std::atomic<int> injected{0};

void Report() {
    const char* path = std::getenv("VARNOK_FAULT_COUNT");
    if (!path) return;
    std::FILE* out = std::fopen(path, "w");
    if (!out) return;
    std::fprintf(out, "%ld %d\n", calls.load(), injected.load());
    std::fclose(out);
}

__attribute__((constructor)) void Start() {
    chosen = std::getenv("VARNOK_FAULT_CALL");
    const char* at = std::getenv("VARNOK_FAULT_AT");
    failAt = at ? std::strtol(at, nullptr, 10) : 0;
    if (chosen) std::atexit(Report);
}

// True when this call of `name` is the one to fail.
bool ShouldFail(const char* name) {
    if (!chosen || std::strcmp(chosen, name) != 0) return false;
    const long n = ++calls;
    if (n != failAt) return false;
    injected = 1;
    return true;
}

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

ssize_t PositionedRead(const char* real, int fd, void* buffer, size_t count, off_t at) {
    if (fd > 2 && ShouldFail("pread")) {
        errno = EIO;
        return -1;
    }
    return Real<ssize_t (*)(int, void*, size_t, off_t)>(real)(fd, buffer, count, at);
}

off_t Seek(const char* real, int fd, off_t offset, int whence) {
    if (fd > 2 && ShouldFail("lseek")) {
        errno = EIO;
        return -1;
    }
    return Real<off_t (*)(int, off_t, int)>(real)(fd, offset, whence);
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* buffer, size_t count) {
    if (fd > 2 && ShouldFail("write")) {
        errno = ENOSPC;
        return -1;
    }
    return Real<ssize_t (*)(int, const void*, size_t)>("write")(fd, buffer, count);
}

ssize_t read(int fd, void* buffer, size_t count) {
    if (fd > 2 && ShouldFail("read")) {
        errno = EIO;
        return -1;
    }
    return Real<ssize_t (*)(int, void*, size_t)>("read")(fd, buffer, count);
}

ssize_t pread(int fd, void* buffer, size_t count, off_t at) {
    return PositionedRead("pread", fd, buffer, count, at);
}
ssize_t pread64(int fd, void* buffer, size_t count, off_t at) {
    return PositionedRead("pread64", fd, buffer, count, at);
}

off_t lseek(int fd, off_t offset, int whence) {
    return Seek("lseek", fd, offset, whence);
}
off_t lseek64(int fd, off_t offset, int whence) {
    return Seek("lseek64", fd, offset, whence);
}

int fsync(int fd) {
    if (ShouldFail("fsync")) {
        errno = EIO;
        return -1;
    }
    return Real<int (*)(int)>("fsync")(fd);
}

int syncfs(int fd) {
    if (ShouldFail("fsync")) {
        errno = EIO;
        return -1;
    }
    return Real<int (*)(int)>("syncfs")(fd);
}

int rename(const char* from, const char* to) {
    if (ShouldFail("rename")) {
        errno = EIO;
        return -1;
    }
    return Real<int (*)(const char*, const char*)>("rename")(from, to);
}

// Putting a new file in place without replacing counts as a rename.
int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    if (ShouldFail("rename")) {
        errno = EIO;
        return -1;
    }
    using Rename = int (*)(int, const char*, int, const char*, unsigned);
    return Real<Rename>("renameat2")(fromFolder, from, toFolder, to, flags);
}

ssize_t copy_file_range(int in, off_t* inOffset, int out, off_t* outOffset, size_t count,
                        unsigned flags) {
    if (ShouldFail("copy_file_range")) {
        errno = EIO;
        return -1;
    }
    using Copy = ssize_t (*)(int, off_t*, int, off_t*, size_t, unsigned);
    return Real<Copy>("copy_file_range")(in, inOffset, out, outOffset, count, flags);
}

}  // extern "C"
