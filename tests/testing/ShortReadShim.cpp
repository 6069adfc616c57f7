// Preloaded into a program under test: every read of at least
// VARNOK_SHORT_READ_FROM bytes fails as on a failing disk: fread gets only
// half of the bytes, read and pread none (an input/output error).
#include <dlfcn.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

std::size_t Threshold() {
    static const std::size_t threshold = [] {
        const char* text = std::getenv("VARNOK_SHORT_READ_FROM");
        return text ? static_cast<std::size_t>(std::strtoull(text, nullptr, 10)) : 0;
    }();
    return threshold;
}

bool Hit(std::size_t bytes) {
    return Threshold() > 0 && bytes >= Threshold();
}

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

std::size_t fread(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    static const auto next =
        Next<std::size_t (*)(void*, std::size_t, std::size_t, std::FILE*)>("fread");
    if (size == 1 && Hit(count)) count /= 2;
    return next(buffer, size, count, file);
}

std::size_t __fread_chk(void* buffer, std::size_t bufferSize, std::size_t size, std::size_t count,
                        std::FILE* file) {
    static const auto next =
        Next<std::size_t (*)(void*, std::size_t, std::size_t, std::size_t, std::FILE*)>(
            "__fread_chk");
    if (size == 1 && Hit(count)) count /= 2;
    return next(buffer, bufferSize, size, count, file);
}

ssize_t read(int fd, void* buffer, std::size_t count) {
    static const auto next = Next<ssize_t (*)(int, void*, std::size_t)>("read");
    if (Hit(count)) {
        errno = EIO;
        return -1;
    }
    return next(fd, buffer, count);
}

ssize_t pread(int fd, void* buffer, std::size_t count, off_t offset) {
    static const auto next = Next<ssize_t (*)(int, void*, std::size_t, off_t)>("pread");
    if (Hit(count)) {
        errno = EIO;
        return -1;
    }
    return next(fd, buffer, count, offset);
}

ssize_t pread64(int fd, void* buffer, std::size_t count, off_t offset) {
    static const auto next = Next<ssize_t (*)(int, void*, std::size_t, off_t)>("pread64");
    if (Hit(count)) {
        errno = EIO;
        return -1;
    }
    return next(fd, buffer, count, offset);
}
}
