#pragma once
// Keeps other programs of this kind from rewriting a file while this one reads
// and rewrites it. Hold one from before the old content is read until the new
// file is in place; SafeFileWriter takes one itself for its whole life. The
// lock belongs to the whole process: every thread of it shares one lock per
// file (a second lock on the same file simply shares the first), so threads
// of one process never hold each other back and must not rewrite one file at
// the same time.
//
// How: an advisory flock on the file itself. A rewrite replaces the file by a
// rename, so a lock on the old inode alone would let a late writer lock the
// file that is no longer at the path; after locking, the lock checks that the
// path still names the locked inode and starts again when it does not. A file
// that does not exist yet is not locked at all (`FoundNoFile()`): the new file
// is put in place without replacing anything, so that a file created meanwhile
// by someone else is never lost, and writers of different new files in one
// folder never wait for one another. No lock file is ever made or removed, so
// nothing is left behind and no user file can be touched. Other programs that
// ignore advisory locks are not held back.

#include <chrono>
#include <string>

class RewriteLock {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{3000};

    // Locks `path` (symbolic links resolved), waiting up to `wait` for
    // another writer to finish. On failure shows "[%s] is being changed by
    // another program" with `path` and `Held()` is false.
    explicit RewriteLock(const std::string& path, std::chrono::milliseconds wait = kDefaultWait);
    ~RewriteLock();
    RewriteLock(const RewriteLock&) = delete;
    RewriteLock& operator=(const RewriteLock&) = delete;

    bool Held() const { return held_; }
    // True when there was no file at the path when it was locked, and none has
    // been put there under this lock since.
    bool FoundNoFile() const;

    // A new file about to be renamed to the locked path is locked as well, so
    // that a holder who goes on after the rename still holds what the path
    // names. `Settle` then keeps the lock of whichever file the path names.
    void Follow(int newFileDescriptor);
    void Settle(bool renamed);
    // The resolved path that is locked.
    const std::string& LockedPath() const { return key_; }

private:
    std::string key_;
    bool held_ = false;
    int following_ = -1;
};

// The real file a path leads to: symbolic links along it (the last one
// included, when it leads to an existing file) resolved, made absolute.
std::string ResolvedPath(const std::string& path);
// The path with its folder's links resolved and the final name kept as it is.
std::string ResolvedFolderPath(const std::string& path);
