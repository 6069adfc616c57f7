#pragma once
// The open DAT archive: its directory, the icon set of the current item (read
// through the inherited S16Image on the archive's own file), and the
// operations that rewrite, extract from and report on it.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "archive/ArchiveComparison.h"
#include "archive/DatDirectory.h"
#include "archive/DatEntry.h"
#include "archive/ItemNameIndex.h"
#include "sprite/S16Image.h"

class DurabilityBatch;
class Progress;
struct PlannedChange;
struct PlannedItem;

// What writing items into a folder did: whether there was an archive to write
// from, the files written, and the items not written (refused names, shared
// bytes, files kept, failed writes), each told; whether the user stopped it.
struct ItemWriteResult {
    bool done = false;
    int written = 0;
    int failures = 0;
    bool cancelled = false;

    bool Complete() const { return done && failures == 0 && !cancelled; }
};

// What a rewrite that stores files did: whether the archive was rewritten
// (which the bytes alone cannot tell for empty files), and the bytes stored.
struct RewriteResult {
    bool done = false;
    std::uint64_t bytes = 0;
};

class DatArchive : public S16Image {
public:
    DatArchive() = default;
    ~DatArchive() override = default;

    // Whether opening reads the icon count of every S16 item, or leaves them
    // at 0 until ReadIconCountsNow: with small items the counts lie on every
    // page of the file, so reading them costs as much as reading the file.
    enum class IconCounts { kRead, kWhenAsked };

    // Opens the archive for reading and writing (for reading only when the
    // system refuses writing) and reads its directory (with the icon counts
    // unless `counts` says otherwise). Shows why and returns false on failure
    // (a file that is no archive closes it); a missing file keeps the archive
    // that was open.
    bool OpenArchive(const std::string& path, IconCounts counts = IconCounts::kRead);
    // Reads the icon counts when opening left them out; a no-op otherwise.
    void ReadIconCountsNow();
    // Makes item `index` current and reads its icon table with icon n current;
    // returns the icon selected, 0 for a non-S16 item or a bad index.
    int SelectItem(int index, int n);
    // Closes the archive file; the archive then lists no items.
    void CloseArchive();

    // Rewrites (each one new file, the old one kept as "<stem>_back.dat"); a
    // read-only archive is refused with a message.
    // Replaces item `index` with the bytes of `path`.
    RewriteResult ReplaceItem(int index, const std::string& path, Progress& progress);
    // Adds the files as new items in one rewrite, re-sorting the directory.
    RewriteResult AddItems(const std::vector<std::string>& paths, Progress& progress);
    RewriteResult AddItem(const std::string& path, Progress& progress) {
        return AddItems({path}, progress);
    }
    // Drops item `index`; returns its name, empty when nothing was done.
    std::string RemoveItem(int index, Progress& progress);
    // Drops the items at `indices` (any order; a repeated index counts once) in
    // one rewrite; returns their names in directory order, empty when nothing
    // was done.
    std::vector<std::string> RemoveItems(const std::vector<int>& indices, Progress& progress);
    // Replaces each item (index, path) with the bytes of the file at path, in
    // one rewrite. False when nothing was done.
    bool ReplaceItems(const std::vector<std::pair<int, std::string>>& replacements,
                      Progress& progress);

    // Copies item `index` unchanged to `outputPath`, which the user named
    // (else `askBeforeReplacing` asks before an existing file is replaced).
    // The archive's own file is never written over.
    bool ExtractItem(int index, const std::string& outputPath, bool askBeforeReplacing = false);
    // Writes the items at `indices` (a repeated index counts once) into
    // `folder`, each under its own name, asking before an existing file is
    // replaced; the archive's own file is never written over. Items whose names
    // are equal in any letter case get distinct file names ("NAME~2.EXT", ...),
    // with a message, so that none overwrites another. Items whose names are
    // not plain file names, whose bytes overlap another chosen item's (the
    // output would outgrow the archive), or whose files cannot be written are
    // reported and counted as failures.
    ItemWriteResult WriteItems(const std::vector<int>& indices, const std::string& folder,
                               Progress& progress);
    // Hands the bytes of item `index` to `sink` in blocks of at most 1 MiB, for
    // an item written somewhere other than a file; false after a read error
    // (told, naming the archive) or when `sink` refuses a block.
    using ByteSink = std::function<bool(std::span<const std::uint8_t>)>;
    bool CopyItemBytes(int index, const ByteSink& sink);
    // WriteItems of every item; not done when no archive is open.
    ItemWriteResult UnpackAll(const std::string& folder, Progress& progress);

    // Writes the item report (with or without icon counts) and shows it.
    bool WriteReport(const std::string& reportPath, bool withIcons);
    // Writes the comparison with the archive at `otherPath` and shows it.
    bool CompareArchives(const std::string& otherPath, const std::string& reportPath,
                         bool differencesOnly);
    // The texts of the two reports (the item report's counts are those read:
    // call ReadIconCountsNow first); the comparison is nothing, after a
    // message, when the other archive cannot be read.
    std::string ItemReport(bool withIcons) const;
    std::optional<std::string> ComparisonReport(const std::string& otherPath,
                                                bool differencesOnly) const;
    // The comparison the report is written from; nothing, after a message,
    // when the other archive cannot be read.
    std::optional<ArchiveComparison> CompareWith(const std::string& otherPath) const;

    bool IsOpen() const { return open_; }
    // The archive could be opened for reading only: every rewrite is refused.
    bool IsReadOnly() const { return readOnly_; }
    bool IsLoaded() const { return loaded_; }
    // How many items the directory names but the listing left out when the
    // archive was opened (their bytes lie outside the file); a rewrite drops them.
    int ItemsLeftOut() const { return itemsLeftOut_; }
    int ItemCount() const { return static_cast<int>(directory_.size()); }
    const DatEntry& Entry(int index) const { return directory_[static_cast<std::size_t>(index)]; }
    const std::vector<DatEntry>& Entries() const { return directory_; }
    int CurrentItem() const { return currentItem_; }
    const std::string& ArchivePath() const { return archivePath_; }
    // The index of the item named `name` (any case; the first of equal names),
    // or -1. The first few calls after an open or a rewrite compare every
    // name; later ones index every name once, so that finding k names costs
    // a few passes over the directory, not k.
    int FindItem(const std::string& name) const;

    // With a change to fill, every rewrite only plans: it fills `change` with
    // what it would do and writes nothing (nullptr: rewrites write again).
    void PlanOnly(PlannedChange* change) { planOnly_ = change; }
    bool PlansOnly() const { return planOnly_ != nullptr; }

    // Makes the rewrites leave the new archive for `batch` to flush (nullptr:
    // each rewrite flushes its own), for archives that are only a step of a batch.
    void DeferDurability(DurabilityBatch* batch) { batch_ = batch; }

    // "<stem>_back.dat" of the archive path, where a rewrite keeps the old archive.
    std::string BackupPath() const;

private:
    // Writes `plan` as the new archive, puts it in place and reopens it.
    bool Rewrite(const std::vector<PlannedItem>& plan, Progress& progress);
    DirectoryRead ReadDirectory();
    // kCreate: nothing is at the path; kReplace: a file the user may write over.
    enum class OutputCheck { kCreate, kReplace, kRefused, kKept };
    OutputCheck CheckOutput(const std::string& path, bool askBeforeReplacing);
    bool IsArchiveFile(const std::string& path);
    // Writes the item's bytes at `outputPath` (`created`: where nothing was)
    // and leaves the file for `batch` to flush.
    bool WriteItem(const DatEntry& entry, const std::string& outputPath, bool created,
                   DurabilityBatch& batch);

    bool open_ = false;
    bool readOnly_ = false;
    bool loaded_ = false;
    int currentItem_ = -1;
    int itemsLeftOut_ = 0;
    bool iconCountsRead_ = false;
    std::string archivePath_;
    std::vector<DatEntry> directory_;
    // The upper-cased names of directory_ to their first index; empty until
    // FindItem needs it, emptied whenever directory_ changes.
    static constexpr int kLookupsBeforeIndex = 4;
    void ForgetNameIndex() {
        indexByName_.Clear();
        lookupsWithoutIndex_ = 0;
    }
    mutable ItemNameIndex indexByName_;
    mutable int lookupsWithoutIndex_ = 0;
    DurabilityBatch* batch_ = nullptr;
    PlannedChange* planOnly_ = nullptr;
};
