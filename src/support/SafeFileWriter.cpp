#include "support/SafeFileWriter.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "support/Messages.h"
#include "support/Paths.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Makes a completed rename survive a crash of the machine.
void SyncFolderOf(const std::string& path) {
#ifndef _WIN32
    const std::string parent = SplitPath(path, kPathFolder);
    const std::string folder = parent.empty() ? std::string(1, '.') : parent;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)path;
#endif
}

}  // namespace

SafeFileWriter::SafeFileWriter(std::string targetPath, std::string newPath, std::string backupPath)
    : targetPath_(std::move(targetPath)),
      newPath_(std::move(newPath)),
      backupPath_(std::move(backupPath)) {}

SafeFileWriter::~SafeFileWriter() {
    if (created_) Abandon();
}

bool SafeFileWriter::Create(bool nameTarget) {
    created_ = file_.Open(newPath_, "w+b", false);
    if (!created_) ReportCreationError(nameTarget ? targetPath_ : newPath_);
    return created_;
}

void SafeFileWriter::Abandon() {
    file_.Close();
    std::error_code ignored;
    if (created_) fs::remove(newPath_, ignored);
    created_ = false;
}

// The backup becomes a second name of the old file (a copy where the file
// system has no links), staged under a scratch name so that an older backup is
// replaced in one step.
bool SafeFileWriter::KeepBackup() {
    std::error_code error;
    if (backupPath_.empty() || !fs::exists(targetPath_, error)) return true;
    const std::string staging = backupPath_ + ".part";
    fs::remove(staging, error);
    fs::create_hard_link(targetPath_, staging, error);
    if (error) {
        error.clear();
        fs::copy_file(targetPath_, staging, fs::copy_options::overwrite_existing, error);
    }
    if (!error) fs::rename(staging, backupPath_, error);
    if (error) {
        std::error_code ignored;
        fs::remove(staging, ignored);
        ReportCreationError(backupPath_);
        return false;
    }
    return true;
}

bool SafeFileWriter::Commit() {
    if (!created_) return false;
    const bool written = file_.SyncToDisk() && file_.Close();
    if (!written) {
        ReportWriteError(newPath_);
        Abandon();
        return false;
    }
    if (!KeepBackup()) {
        Abandon();
        return false;
    }
    std::error_code error;
    fs::rename(newPath_, targetPath_, error);
    if (error) {
        ReportReplaceError(targetPath_);
        Abandon();
        return false;
    }
    created_ = false;
    SyncFolderOf(targetPath_);
    return true;
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    SafeFileWriter writer(path, path + ".~new", "");
    // The scratch file is an inner detail here: messages name the file itself.
    return writer.Create(true) && writer.File().Write(bytes.data(), bytes.size()) &&
           writer.Commit();
}
