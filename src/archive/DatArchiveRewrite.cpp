// Replacing, adding and removing items: each writes the whole archive anew
// beside it, keeps the old one as the backup and reopens the archive.
#include <memory>

#include "archive/DatArchive.h"
#include "archive/DatWriter.h"
#include "support/DataFile.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/SafeFileWriter.h"

namespace {

// The items of the archive as they stand, read from the archive file.
std::vector<PlannedItem> CurrentItems(const std::vector<DatEntry>& entries, DataFile& archive) {
    std::vector<PlannedItem> plan;
    plan.reserve(entries.size() + 1);
    for (const DatEntry& entry : entries)
        plan.push_back(PlannedItem{entry, &archive, entry.offset});
    return plan;
}

// Opens a replacement or added file; reports one that cannot be read.
std::unique_ptr<DataFile> OpenSource(const std::string& path) {
    auto source = std::make_unique<DataFile>();
    if (!source->Open(path, "rb", true)) return nullptr;
    return source;
}

}  // namespace

bool DatArchive::Rewrite(const std::vector<PlannedItem>& plan, Progress& progress) {
    SafeFileWriter writer(archivePath_, BackupPath());
    writer.RequireOriginal(file);  // refuses when another program replaced the archive meanwhile
    if (!writer.Create() || !WriteDat(writer.File(), plan, progress)) return false;
    const std::string path = archivePath_;
    CloseArchive();  // the old file is renamed next; nothing may hold it
    const bool committed = writer.Commit();
    OpenArchive(path);
    return committed;
}

std::uint64_t DatArchive::ReplaceItem(int index, const std::string& path, Progress& progress,
                                      bool* done) {
    if (done) *done = false;
    if (!open_ || index < 0 || index >= ItemCount()) return 0;
    const auto source = OpenSource(path);
    if (!source) return 0;
    const std::uint64_t size = source->Length();
    std::vector<PlannedItem> plan = CurrentItems(directory_, file);
    PlannedItem& replaced = plan[static_cast<std::size_t>(index)];
    replaced.entry.size = static_cast<std::int64_t>(size);
    replaced.source = source.get();
    replaced.sourceOffset = 0;
    ProgressScope scope(progress, 2 * ItemCount());
    const bool rewritten = Rewrite(plan, progress);
    if (done) *done = rewritten;
    return rewritten ? size : 0;
}

std::uint64_t DatArchive::AddItems(const std::vector<std::string>& paths, Progress& progress,
                                   bool* done) {
    if (done) *done = false;
    if (!open_ || paths.empty()) return 0;
    std::vector<std::unique_ptr<DataFile>> sources;
    std::vector<PlannedItem> plan = CurrentItems(directory_, file);
    std::uint64_t added = 0;
    for (const std::string& path : paths) {
        auto source = OpenSource(path);
        if (!source) return 0;  // a file that cannot be read stops the whole command
        PlannedItem item;
        item.entry.SetName(SplitPath(path, kPathFileName));  // as spelled, not upper-cased
        item.entry.size = static_cast<std::int64_t>(source->Length());
        item.source = source.get();
        added += static_cast<std::uint64_t>(item.entry.size);
        plan.push_back(item);
        sources.push_back(std::move(source));
    }
    ProgressScope scope(progress, 2 * static_cast<int>(plan.size()) + 11);
    SortByName(plan);
    scope.Step();
    const bool rewritten = Rewrite(plan, progress);
    if (done) *done = rewritten;
    return rewritten ? added : 0;
}

std::string DatArchive::RemoveItem(int index, Progress& progress) {
    if (!open_ || index < 0 || index >= ItemCount()) return {};
    const std::string name = Entry(index).Name();
    std::vector<PlannedItem> plan = CurrentItems(directory_, file);
    plan.erase(plan.begin() + index);
    ProgressScope scope(progress, 2 * (ItemCount() - 1));
    if (!Rewrite(plan, progress)) return {};
    scope.Step();  // the removed item, visited by the copy pass
    return name;
}
