// Preloaded into a program under test: every read or pread of at least
// VARNOK_SHORT_READ_FROM bytes fails as on a failing disk, with an
// input/output error and no byte read; smaller reads (headers) succeed.
#include <dlfcn.h>
#include <sys/types.h>

#include <cerrno>
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
