#include "support/RewriteLock.h"

#include <cerrno>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "support/Messages.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// The locks this process holds, by resolved path: the locked descriptor and
// how many holders share it. The last holder to go closes it.
struct HeldLock {
    int fd = -1;
    int holders = 0;
    int following = -1;  // a new file about to take the path's place
};
std::mutex heldMutex;
std::map<std::string, HeldLock>& HeldLocks() {
    static std::map<std::string, HeldLock> held;
    return held;
}

constexpr std::chrono::milliseconds kPoll{20};

#ifndef _WIN32
enum class Attempt { kLocked, kBusy, kChanged, kUnlockable };

// Opens what is to be locked for `path`: the file, or its folder while there is
// no file. `onFile` tells which.
int OpenLockTarget(const std::string& path, bool& onFile) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    onFile = fd >= 0;
    if (fd < 0) {
        const std::string folder = fs::path(path).parent_path().string();
        fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    return fd;
}

// True when `path` still stands for what `fd` locked.
bool StillLocks(const std::string& path, int fd, bool onFile) {
    struct stat now {};
    if (!onFile) {
        // The folder lock covers the file only while there is no file to lock.
        const int probe = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (probe < 0) return true;
        ::close(probe);
        return false;
    }
    struct stat locked {};
    return ::lstat(path.c_str(), &now) == 0 && ::fstat(fd, &locked) == 0 &&
           now.st_dev == locked.st_dev && now.st_ino == locked.st_ino;
}

Attempt TryLock(const std::string& path, int& fd) {
    bool onFile = false;
    fd = OpenLockTarget(path, onFile);
    if (fd < 0) return Attempt::kUnlockable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        fd = -1;
        return error == EWOULDBLOCK || error == EINTR ? Attempt::kBusy : Attempt::kUnlockable;
    }
    if (StillLocks(path, fd, onFile)) return Attempt::kLocked;
    ::close(fd);
    fd = -1;
    return Attempt::kChanged;
}
#endif

}  // namespace

std::string ResolvedPath(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    return error || resolved.empty() ? path : resolved.string();
}

RewriteLock::RewriteLock(const std::string& path, std::chrono::milliseconds wait)
    : key_(ResolvedPath(path)) {
    {
        const std::lock_guard<std::mutex> guard(heldMutex);
        auto found = HeldLocks().find(key_);
        if (found != HeldLocks().end()) {
            ++found->second.holders;
            held_ = true;
            return;
        }
    }
#ifndef _WIN32
    const auto deadline = std::chrono::steady_clock::now() + wait;
    int fd = -1;
    for (;;) {
        const Attempt attempt = TryLock(key_, fd);
        // Where nothing can be locked (no folder, a file system without
        // locks), the rewrite itself meets and reports the real problem.
        if (attempt == Attempt::kLocked || attempt == Attempt::kUnlockable) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            ReportBusyFile(path);
            return;
        }
        // A file replaced under the lock is tried again at once.
        if (attempt == Attempt::kBusy) std::this_thread::sleep_for(kPoll);
    }
#else
    (void)wait;
    const int fd = -1;
#endif
    const std::lock_guard<std::mutex> guard(heldMutex);
    HeldLocks()[key_] = HeldLock{fd, 1, -1};
    held_ = true;
}

void RewriteLock::Follow(int newFileDescriptor) {
#ifndef _WIN32
    if (!held_) return;
    const std::lock_guard<std::mutex> guard(heldMutex);
    HeldLock& lock = HeldLocks()[key_];
    if (lock.following >= 0) ::close(lock.following);
    // Nobody else knows the new file yet, so the lock is free.
    lock.following = ::fcntl(newFileDescriptor, F_DUPFD_CLOEXEC, 0);
    if (lock.following >= 0 && ::flock(lock.following, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock.following);
        lock.following = -1;
    }
#else
    (void)newFileDescriptor;
#endif
}

void RewriteLock::Settle(bool renamed) {
#ifndef _WIN32
    if (!held_) return;
    const std::lock_guard<std::mutex> guard(heldMutex);
    HeldLock& lock = HeldLocks()[key_];
    if (lock.following < 0) return;
    if (renamed) std::swap(lock.fd, lock.following);
    if (lock.following >= 0) ::close(lock.following);
    lock.following = -1;
#else
    (void)renamed;
#endif
}

RewriteLock::~RewriteLock() {
    if (!held_) return;
    const std::lock_guard<std::mutex> guard(heldMutex);
    auto found = HeldLocks().find(key_);
    if (found == HeldLocks().end() || --found->second.holders > 0) return;
#ifndef _WIN32
    // Closing releases the flock.
    if (found->second.fd >= 0) ::close(found->second.fd);
    if (found->second.following >= 0) ::close(found->second.following);
#endif
    HeldLocks().erase(found);
}
