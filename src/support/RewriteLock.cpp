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
// locked descriptor, or the folder locked while there is no file yet.
struct TargetLock {
    int fd = -1;
    std::string folder;
    int holders = 0;
};
// A folder locked for files that do not exist yet. All of them share it within
// this process, so that threads writing new files side by side never wait for
// one another.
struct FolderLock {
    int fd = -1;
    int users = 0;
};

std::mutex registryMutex;
std::map<std::string, TargetLock>& Targets() {
    static std::map<std::string, TargetLock> targets;
    return targets;
}
std::map<std::string, FolderLock>& Folders() {
    static std::map<std::string, FolderLock> folders;
    return folders;
}

constexpr std::chrono::milliseconds kPoll{20};

enum class Attempt { kLocked, kBusy, kChanged, kUnlockable };

#ifndef _WIN32
constexpr int kProbeFlags = O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC;

bool NamesInode(const std::string& path, int fd) {
    struct stat named {};
    struct stat locked {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &locked) == 0 &&
           named.st_dev == locked.st_dev && named.st_ino == locked.st_ino;
}

bool FileIsThere(const std::string& path) {
    const int probe = ::open(path.c_str(), kProbeFlags);
    if (probe < 0) return false;
    ::close(probe);
    return true;
}

// The callers hold registryMutex.
void ReleaseFolder(const std::string& folder) {
    auto found = Folders().find(folder);
    if (found == Folders().end() || --found->second.users > 0) return;
    ::close(found->second.fd);  // closing releases the flock
    Folders().erase(found);
}

Attempt LockFile(const std::string& path, int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK || error == EINTR ? Attempt::kBusy : Attempt::kUnlockable;
    }
    // A writer that renamed its new file into place still holds the old one.
    if (!NamesInode(path, fd)) {
        ::close(fd);
        return Attempt::kChanged;
    }
    Targets()[path] = TargetLock{fd, {}, 1};
    return Attempt::kLocked;
}

Attempt LockFolderFor(const std::string& path) {
    const std::string parent = fs::path(path).parent_path().string();
    const std::string folder = parent.empty() ? std::string(".") : parent;
    FolderLock& lock = Folders()[folder];
    if (lock.users == 0) {
        lock.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const int error =
            lock.fd < 0 ? errno : (::flock(lock.fd, LOCK_EX | LOCK_NB) != 0 ? errno : 0);
        if (error != 0) {
            if (lock.fd >= 0) ::close(lock.fd);
            Folders().erase(folder);
            return error == EWOULDBLOCK || error == EINTR ? Attempt::kBusy : Attempt::kUnlockable;
        }
    }
    ++lock.users;
    // The folder stands for the file only while there is no file to lock.
    if (FileIsThere(path)) {
        ReleaseFolder(folder);
        return Attempt::kChanged;
    }
    Targets()[path] = TargetLock{-1, folder, 1};
    return Attempt::kLocked;
}

Attempt TryLock(const std::string& path) {
    const int fd = ::open(path.c_str(), kProbeFlags);
    return fd >= 0 ? LockFile(path, fd) : LockFolderFor(path);
}
#else
Attempt TryLock(const std::string&) {
    return Attempt::kUnlockable;
}
void ReleaseFolder(const std::string&) {}
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
        Attempt attempt = Attempt::kUnlockable;
        {
            const std::lock_guard<std::mutex> guard(registryMutex);
            auto found = Targets().find(key_);
            if (found != Targets().end()) {
                ++found->second.holders;  // this process holds it already
                held_ = true;
                return;
            }
            attempt = TryLock(key_);
            // Where nothing can be locked (no folder, a file system without
            // locks), the rewrite itself meets and reports the real problem.
            if (attempt == Attempt::kUnlockable) Targets()[key_] = TargetLock{-1, {}, 1};
        }
        if (attempt == Attempt::kLocked || attempt == Attempt::kUnlockable) {
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
#ifndef _WIN32
    if (!held_ || following_ < 0) return;
    const std::lock_guard<std::mutex> guard(registryMutex);
    TargetLock& lock = Targets()[key_];
    if (renamed) {
        // Every holder of this target now holds the file that the path names.
        if (!lock.folder.empty()) ReleaseFolder(lock.folder);
        if (lock.fd >= 0) ::close(lock.fd);
        lock.folder.clear();
        lock.fd = std::exchange(following_, -1);
    } else {
        ::close(std::exchange(following_, -1));
    }
#else
    (void)renamed;
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
    if (!found->second.folder.empty()) ReleaseFolder(found->second.folder);
    Targets().erase(found);
}
