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

// What this process holds for one target, shared by every holder: the file's
// locked descriptor, none while there is no file yet (`absent`) or where the
// file cannot be locked.
struct TargetLock {
    int fd = -1;
    bool absent = false;
    int holders = 0;
};

std::mutex registryMutex;
std::map<std::string, TargetLock>& Targets() {
    static std::map<std::string, TargetLock> targets;
    return targets;
}

constexpr std::chrono::milliseconds kPoll{20};

enum class Attempt { kLocked, kBusy, kChanged };

#ifndef _WIN32
constexpr int kProbeFlags = O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC;

bool NamesInode(const std::string& path, int fd) {
    struct stat named {};
    struct stat locked {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &locked) == 0 &&
           named.st_dev == locked.st_dev && named.st_ino == locked.st_ino;
}

// The callers hold registryMutex.
Attempt TryLock(const std::string& path) {
    const int fd = ::open(path.c_str(), kProbeFlags);
    if (fd < 0) {
        // Where there is no file, nothing is locked: a new file is put in place
        // without replacing whatever appears meanwhile. Where a file cannot be
        // opened, the rewrite itself meets and reports the real problem.
        Targets()[path] = TargetLock{-1, errno == ENOENT, 1};
        return Attempt::kLocked;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK || error == EINTR) return Attempt::kBusy;
        // A file system without locks.
        Targets()[path] = TargetLock{-1, false, 1};
        return Attempt::kLocked;
    }
    // A writer that renamed its new file into place still holds the old one.
    if (!NamesInode(path, fd)) {
        ::close(fd);
        return Attempt::kChanged;
    }
    Targets()[path] = TargetLock{fd, false, 1};
    return Attempt::kLocked;
}
#else
Attempt TryLock(const std::string& path) {
    Targets()[path] = TargetLock{-1, false, 1};
    return Attempt::kLocked;
}
#endif

}  // namespace

std::string ResolvedPath(const std::string& path) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    return error || resolved.empty() ? path : resolved.string();
}

std::string ResolvedFolderPath(const std::string& path) {
    const fs::path name = fs::path(path).filename();
    const std::string folder = fs::path(path).parent_path().string();
    return (fs::path(ResolvedPath(folder.empty() ? std::string(".") : folder)) / name).string();
}

RewriteLock::RewriteLock(const std::string& path, std::chrono::milliseconds wait)
    : key_(ResolvedPath(path)) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        Attempt attempt = Attempt::kBusy;
        {
            const std::lock_guard<std::mutex> guard(registryMutex);
            auto found = Targets().find(key_);
            if (found != Targets().end()) {
                ++found->second.holders;  // this process holds it already
                held_ = true;
                return;
            }
            attempt = TryLock(key_);
        }
        if (attempt == Attempt::kLocked) {
            held_ = true;
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ReportBusyFile(path);
            return;
        }
        // A file replaced under the lock is tried again at once.
        if (attempt == Attempt::kBusy) std::this_thread::sleep_for(kPoll);
    }
}

bool RewriteLock::FoundNoFile() const {
    if (!held_) return false;
    const std::lock_guard<std::mutex> guard(registryMutex);
    const auto found = Targets().find(key_);
    return found != Targets().end() && found->second.absent;
}

void RewriteLock::Follow(int newFileDescriptor) {
#ifndef _WIN32
    if (!held_) return;
    if (following_ >= 0) ::close(following_);
    // Nobody else knows the new file yet, so its lock is free.
    following_ = ::fcntl(newFileDescriptor, F_DUPFD_CLOEXEC, 0);
    if (following_ >= 0 && ::flock(following_, LOCK_EX | LOCK_NB) != 0) {
        ::close(following_);
        following_ = -1;
    }
#else
    (void)newFileDescriptor;
#endif
}

void RewriteLock::Settle(bool renamed) {
    if (!held_) return;
    const std::lock_guard<std::mutex> guard(registryMutex);
    TargetLock& lock = Targets()[key_];
    if (renamed) lock.absent = false;  // the file is there now
#ifndef _WIN32
    if (following_ < 0) return;
    if (renamed) {
        // Every holder of this target now holds the file that the path names.
        if (lock.fd >= 0) ::close(lock.fd);
        lock.fd = std::exchange(following_, -1);
    } else {
        ::close(std::exchange(following_, -1));
    }
#endif
}

RewriteLock::~RewriteLock() {
#ifndef _WIN32
    if (following_ >= 0) ::close(following_);
#endif
    if (!held_) return;
    const std::lock_guard<std::mutex> guard(registryMutex);
    auto found = Targets().find(key_);
    if (found == Targets().end() || --found->second.holders > 0) return;
#ifndef _WIN32
    if (found->second.fd >= 0) ::close(found->second.fd);  // closing releases the flock
#endif
    Targets().erase(found);
}
