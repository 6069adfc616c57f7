#pragma once
// Writes a new version of a file beside it and puts it in place only once it
// is complete and on disk. At every instant the target path holds either the
// old or the new content; the old content is kept under the backup name. Any
// failure leaves the target untouched, removes the new file and is reported,
// naming the target and the system's reason.
//
// The new file gets a unique scratch name in the target's folder, created
// exclusively. A target that is a symbolic link keeps the link: the file it
// leads to is rewritten. The rewrite keeps the file's mode, and its owner and
// group where the user may set them; other hard links of the file keep the old
// content, which a message says ("[%s]: %llu other hard link(s) keep the
// old content"). A RewriteLock on the target is held from Create to Commit or
// Abandon. A target that did not exist at Create is never replaced: when
// another program created it meanwhile, Commit fails with "[%s] was created
// by another program meanwhile: nothing was written".

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "support/DataFile.h"
#include "support/FileIdentity.h"

class DurabilityBatch;
class RewriteLock;

class SafeFileWriter {
public:
    // An empty `backupPath` keeps no backup.
    SafeFileWriter(std::string targetPath, std::string backupPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Makes Create refuse, with "[%s] is being changed by another program",
    // when the target is no longer the file that `original` has open: the
    // content read from it would be stale. Call before closing `original`.
    void RequireOriginal(const DataFile& original);

    // Locks the target and creates the new file. Reports "[%s] is being
    // changed by another program", "[%s] is not a regular file: nothing was
    // written" (a device or a pipe, which the rename would replace) or "Error
    // on creating [%s]: <reason>", naming the target.
    bool Create();
    // The new file. Its `Path()` is the target's, so messages about it name
    // the file the user knows.
    DataFile& File() { return file_; }
    // Writes `bytes` to the new file; on failure reports "Error on writing
    // [%s]: <reason>" and abandons the rewrite.
    bool Write(std::span<const std::uint8_t> bytes);
    // Flushes the new file to disk, keeps the backup and moves the new file into
    // place. Reports and returns false on any failure.
    bool Commit();
    // Makes Commit put a new file in place without flushing it and hand it to
    // `batch`, whose MakeDurable the caller must see succeed before it tells
    // of success. For batches of many files; a file that replaces an existing
    // one is still flushed before it takes its place, and a single rewrite
    // flushes itself.
    void DeferDurability(DurabilityBatch& batch) { batch_ = &batch; }
    // Closes and removes the new file; the target stays as it was.
    void Abandon();

    const std::string& TargetPath() const { return targetPath_; }
    // Where the new content goes: the target with symbolic links resolved.
    const std::string& RealTargetPath() const { return realTarget_; }
    // The new file's scratch name while there is one.
    const std::string& ScratchPath() const { return scratchPath_; }

private:
    bool KeepBackup();
    void RestoreBackup();
    std::string StageCopy(const std::string& from, const std::string& folder, int& error);
    bool TakeOverAttributes();
    void WarnAboutOtherLinks() const;

    std::string targetPath_;
    std::string backupPath_;
    std::string realTarget_;
    std::string scratchPath_;
    FileIdentity original_;
    bool originalRequired_ = false;
    std::unique_ptr<RewriteLock> lock_;
    DataFile file_;
    bool created_ = false;
    // The target as it was before the rewrite: a new file is put in place
    // without replacing anything that appeared meanwhile.
    bool newFile_ = false;
    bool targetExisted_ = false;
    unsigned targetMode_ = 0;
    unsigned targetOwner_ = 0;
    unsigned targetGroup_ = 0;
    std::uint64_t targetLinks_ = 0;
    bool backupWasLink_ = false;
    // The backup before this rewrite, kept aside under a scratch name until it is complete.
    std::string previousBackup_;
    bool backupReplaced_ = false;
    DurabilityBatch* batch_ = nullptr;
};

// Writes `bytes` as the whole new content of `path` (replacing a file there)
// through a scratch file beside it, so that a failure leaves no half-written
// file. Reports, naming `path` and the reason, and returns false on failure.
// With `batch`, the file is left for the batch to flush (see DeferDurability).
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    DurabilityBatch* batch = nullptr);
