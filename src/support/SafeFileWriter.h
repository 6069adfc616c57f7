#pragma once
// Writes a new version of a file beside it and puts it in place only once it
// is complete and on disk. At every instant the target path holds either the
// old or the new content; the old content is kept under the backup name. Any
// failure leaves the target untouched, removes the new file and is reported.

#include <cstdint>
#include <span>
#include <string>

#include "support/DataFile.h"

class SafeFileWriter {
public:
    // An empty `backupPath` keeps no backup.
    SafeFileWriter(std::string targetPath, std::string newPath, std::string backupPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the new file ("w+b"); reports "Error on creating [%s]" on
    // failure, naming the new file, or the target with `nameTarget`.
    bool Create(bool nameTarget = false);
    DataFile& File() { return file_; }
    // Flushes the new file to disk, keeps the backup and moves the new file into
    // place. Reports and returns false on any failure.
    bool Commit();
    // Closes and removes the new file; the target stays as it was.
    void Abandon();

    const std::string& TargetPath() const { return targetPath_; }
    const std::string& NewPath() const { return newPath_; }

private:
    bool KeepBackup();

    std::string targetPath_;
    std::string newPath_;
    std::string backupPath_;
    DataFile file_;
    bool created_ = false;
};

// Writes `bytes` as the whole new content of `path` (replacing a file there)
// through a scratch file beside it, so that a failure leaves no half-written
// file. Reports and returns false on failure.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);
