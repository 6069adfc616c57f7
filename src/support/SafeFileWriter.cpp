#include "support/SafeFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include <sys/stat.h>

#include "support/DurabilityBatch.h"
#include "support/FileCopy.h"
#include "support/FolderSync.h"
#include "support/Messages.h"
#include "support/RewriteLock.h"
#include "support/ScratchFile.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string NameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

// The backup's name with its folder's links resolved; the name itself is
// replaced by a rename, never written through.
std::string ResolvedBackupPath(const std::string& backupPath) {
    if (backupPath.empty()) return backupPath;
    return ResolvedFolderPath(backupPath);
}

// Copies the old file to a new scratch file in `folder`, for file systems
// without hard links; returns the scratch name, empty on failure (errno kept).
std::string CopyToScratch(const std::string& from, const std::string& folder,
                          const std::string& hint, int& error) {
    DataFile source;
    if (!source.Open(from, "rb", false)) {
        error = source.Error();
        return {};
    }
    std::string path;
    const int fd = CreateScratchFile(folder, hint, 0600, path);
    if (fd < 0) {
        error = errno;
        return {};
    }
    DataFile copy;
    copy.Adopt(fd, path);
    const std::uint64_t length = source.Length();
    if (CopyFileRange(source, 0, length, copy) && copy.SyncToDisk() && copy.Close()) return path;
    error = copy.Error() != 0 ? copy.Error() : (source.Error() != 0 ? source.Error() : EIO);
    copy.Close();
    std::remove(path.c_str());
    return {};
}

// Gives the complete new file `from` the name `to` unless something has
// appeared there: 0, EEXIST when it has, or the system's error.
int PlaceNewFile(const std::string& from, const std::string& to) {
#ifdef __linux__
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
#ifndef _WIN32
    // A second name never replaces a file; then the scratch name goes.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno == EEXIST) return EEXIST;
    // Without hard links, a check just before the rename is the best there is.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0) return EEXIST;
#endif
    // Where renaming never replaces (Windows), the rename itself refuses.
    if (std::rename(from.c_str(), to.c_str()) == 0) return 0;
    return errno;
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string targetPath, std::string backupPath)
    : targetPath_(std::move(targetPath)), backupPath_(std::move(backupPath)) {}

SafeFileWriter::~SafeFileWriter() {
    Abandon();
}

void SafeFileWriter::RequireOriginal(const DataFile& original) {
    original_ = FileIdentity::OfOpenFile(original);
    originalRequired_ = true;
}

bool SafeFileWriter::Create() {
    Abandon();
    realTarget_ = ResolvedPath(targetPath_);
    lock_ = std::make_unique<RewriteLock>(targetPath_);
    if (!lock_->Held()) {
        lock_.reset();
        return false;
    }
    struct stat status {};
    // A file that appears after the lock found none is not this rewrite's.
    newFile_ = lock_->FoundNoFile();
    targetExisted_ = !newFile_ && ::stat(realTarget_.c_str(), &status) == 0;
    if (originalRequired_ && !(targetExisted_ && original_ == FileIdentity::OfPath(realTarget_))) {
        ReportBusyFile(targetPath_);
        lock_.reset();
        return false;
    }
    // A device or a pipe would be replaced by a regular file, not written into.
    if (targetExisted_ && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) {
        ShowError("[%s] is not a regular file: nothing was written", targetPath_.c_str());
        lock_.reset();
        return false;
    }
#ifndef _WIN32
    // Renaming a new file over the target needs only the folder's permission:
    // a file the user may not write stays as it is, as writing it in place would.
    if (targetExisted_ && ::access(realTarget_.c_str(), W_OK) != 0) {
        ReportCreationError(targetPath_, errno);
        lock_.reset();
        return false;
    }
#endif
    targetMode_ = targetExisted_ ? static_cast<unsigned>(status.st_mode & 07777) : 0666;
    targetOwner_ = static_cast<unsigned>(status.st_uid);
    targetGroup_ = static_cast<unsigned>(status.st_gid);
    targetLinks_ = targetExisted_ ? static_cast<std::uint64_t>(status.st_nlink) : 0;
    // A backup name that already is a link of the target is this tool's own.
    backupWasLink_ = targetLinks_ > 1 && !backupPath_.empty() &&
                     IsSameFile(ResolvedBackupPath(backupPath_), realTarget_);

    // Private until complete; a new file gets the usual permissions (umask applied).
    const int fd = CreateScratchFile(FolderOf(realTarget_), NameOf(realTarget_),
                                     targetExisted_ ? 0600 : 0666, scratchPath_);
    if (fd < 0) {
        ReportCreationError(targetPath_, errno);
        scratchPath_.clear();
        lock_.reset();
        return false;
    }
    file_.Adopt(fd, targetPath_);
    created_ = true;
    if (!TakeOverAttributes()) {
        Abandon();
        return false;
    }
    return true;
}

// The owner first: changing it may clear the set-user bits the mode then restores.
bool SafeFileWriter::TakeOverAttributes() {
#ifndef _WIN32
    if (!targetExisted_) return true;
    // Only a privileged user may give a file away; others keep their own.
    if (::fchown(file_.Descriptor(), targetOwner_, targetGroup_) != 0 &&
        ::fchown(file_.Descriptor(), static_cast<uid_t>(-1), targetGroup_) != 0) {
        // Neither owner nor group may be kept: the file becomes the user's.
    }
    if (::fchmod(file_.Descriptor(), targetMode_) != 0 && errno != EPERM) {
        ReportCreationError(targetPath_, errno);
        return false;
    }
#endif
    return true;
}

bool SafeFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (!created_) return false;
    if (file_.Write(bytes.data(), bytes.size())) return true;
    ReportWriteError(targetPath_, file_.Error());
    Abandon();
    return false;
}

void SafeFileWriter::Abandon() {
    file_.Close();
    if (created_) std::remove(scratchPath_.c_str());
    created_ = false;
    scratchPath_.clear();
    lock_.reset();
}

// A second name of `from` (a copy where the file system has no links) under
// a scratch name in `folder`; empty, with `error` set, on failure.
std::string SafeFileWriter::StageCopy(const std::string& from, const std::string& folder,
                                      int& error) {
    const std::string hint = NameOf(ResolvedBackupPath(backupPath_));
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ScratchName(folder, hint);
        std::error_code linkError;
        fs::create_hard_link(from, name, linkError);
        if (!linkError) return name;
        if (linkError != std::errc::file_exists) return CopyToScratch(from, folder, hint, error);
    }
    error = EEXIST;
    return {};
}

// The backup becomes a second name of the old file, staged under a scratch
// name so that an older backup is replaced in one step. The older backup is
// kept aside until the rewrite is complete, so that a failure puts it back.
bool SafeFileWriter::KeepBackup() {
    if (backupPath_.empty() || !targetExisted_) return true;
    const std::string backup = ResolvedBackupPath(backupPath_);
    const std::string folder = FolderOf(backup);
    int error = 0;
    std::error_code ignored;
    if (fs::exists(fs::symlink_status(backup, ignored))) {
        previousBackup_ = StageCopy(backup, folder, error);
        if (previousBackup_.empty()) {
            ReportCreationError(backupPath_, error);
            return false;
        }
    }
    const std::string staging = StageCopy(realTarget_, folder, error);
    if (!staging.empty() && std::rename(staging.c_str(), backup.c_str()) != 0) {
        error = errno;
        std::remove(staging.c_str());
    } else if (!staging.empty()) {
        backupReplaced_ = true;
        return true;
    }
    ReportCreationError(backupPath_, error);
    RestoreBackup();
    return false;
}

void SafeFileWriter::RestoreBackup() {
    const std::string backup = ResolvedBackupPath(backupPath_);
    if (backupReplaced_ && !previousBackup_.empty()) {
        std::rename(previousBackup_.c_str(), backup.c_str());
    } else if (backupReplaced_) {
        std::remove(backup.c_str());
    }
    if (!previousBackup_.empty()) std::remove(previousBackup_.c_str());
    previousBackup_.clear();
    backupReplaced_ = false;
}

void SafeFileWriter::WarnAboutOtherLinks() const {
    std::uint64_t others = targetLinks_ > 0 ? targetLinks_ - 1 : 0;
    if (backupWasLink_ && others > 0) --others;
    if (others > 0) {
        ShowInfo("[%s]: %llu other hard link(s) keep the old content", targetPath_.c_str(),
                 static_cast<unsigned long long>(others));
    }
}

bool SafeFileWriter::Commit() {
    if (!created_) return false;
    // A batch leaves only new files unflushed until its end: one that takes an
    // existing file's place is on disk first, so that a crash before the
    // batch's flush still finds the old content or the new at that name.
    const bool deferred = batch_ != nullptr && newFile_;
    if (!deferred && !file_.SyncToDisk()) {
        ReportWriteError(targetPath_, file_.Error());
        Abandon();
        return false;
    }
    lock_->Follow(file_.Descriptor());
    if (!file_.Close()) {
        ReportWriteError(targetPath_, file_.Error());
        lock_->Settle(false);
        Abandon();
        return false;
    }
    if (!KeepBackup()) {
        lock_->Settle(false);
        Abandon();
        return false;
    }
    const int placed =
        newFile_ ? PlaceNewFile(scratchPath_, realTarget_)
                 : (std::rename(scratchPath_.c_str(), realTarget_.c_str()) == 0 ? 0 : errno);
    if (placed != 0) {
        if (newFile_ && placed == EEXIST) {
            ReportCreatedMeanwhile(targetPath_);
        } else {
            ReportReplaceError(targetPath_, placed);
        }
        RestoreBackup();
        lock_->Settle(false);
        Abandon();
        return false;
    }
    lock_->Settle(true);
    if (!previousBackup_.empty()) std::remove(previousBackup_.c_str());
    previousBackup_.clear();
    backupReplaced_ = false;
    created_ = false;
    scratchPath_.clear();
    if (batch_ != nullptr) {
        batch_->Add(realTarget_, newFile_);
    } else {
        FlushFolder(FolderOf(realTarget_));  // the change is made: a failed flush only weakens it
    }
    WarnAboutOtherLinks();
    lock_.reset();
    return true;
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    DurabilityBatch* batch) {
    SafeFileWriter writer(path, "");
    if (batch != nullptr) writer.DeferDurability(*batch);
    return writer.Create() && writer.Write(bytes) && writer.Commit();
}
