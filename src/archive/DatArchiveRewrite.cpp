// Replacing, adding and removing items: each writes the whole archive anew
// beside it, keeps the old one as the backup and takes the new directory
// from the plan it wrote.
#include <optional>

#include "archive/DatArchive.h"
#include "archive/DatWriter.h"
#include "archive/ItemSource.h"
#include "archive/PlannedChange.h"
#include "support/DataFile.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/SafeFileWriter.h"
#include "support/Text.h"

namespace {

// The items of the archive as they stand, read from the archive file.
std::vector<PlannedItem> CurrentItems(const std::vector<DatEntry>& entries, DataFile& archive) {
    std::vector<PlannedItem> plan;
    plan.reserve(entries.size() + 1);
    for (const DatEntry& entry : entries)
        plan.push_back(PlannedItem{entry, &archive, entry.offset, {}});
    return plan;
}

// A replacement or added file as the planned item (named already); false,
// after a message, when it cannot be stored. The icon count of an S16 file is
// read now, so that the new directory is known without reading the new archive.
bool PlanSource(const std::string& path, PlannedItem& item) {
    const std::optional<std::uint64_t> checked = CheckItemSource(path);
    if (!checked) return false;
    const std::uint64_t size = *checked;
    item.entry.size = static_cast<std::int64_t>(size);
    item.entry.isS16 = IsS16Name(item.entry.Name());
    item.entry.icons = 0;
    if (item.entry.isS16) {
        DataFile source;
        if (!OpenItemSource(path, size, source)) return false;
        const std::optional<std::int32_t> icons = ReadIconCount(source, 0, size);
        if (!icons) {
            ReportReadError(path, source.Error());
            return false;
        }
        item.entry.icons = *icons;
    }
    item.source = nullptr;
    item.sourceOffset = 0;
    item.sourcePath = path;
    return true;
}

}  // namespace

bool DatArchive::Rewrite(const std::vector<PlannedItem>& plan, Progress& progress) {
    if (readOnly_) {
        ShowError("[%s] is read-only: nothing was changed", archivePath_.c_str());
        return false;
    }
    if (planOnly_ != nullptr) {
        *planOnly_ =
            DescribePlan(archivePath_, directory_, FileHandle().Length(), &FileHandle(), plan);
        return true;
    }
    SafeFileWriter writer(archivePath_, BackupPath());
    if (batch_ != nullptr) writer.DeferDurability(*batch_);
    // Refuses when another program replaced the archive meanwhile.
    writer.RequireOriginal(FileHandle());
    if (!writer.Create() || !WriteDat(writer.File(), plan, progress, archivePath_)) return false;
    const std::string path = archivePath_;
    const bool countsRead = iconCountsRead_;
    CloseArchive();  // the old file is renamed next; nothing may hold it
    if (!writer.Commit()) {
        OpenArchive(path, countsRead ? IconCounts::kRead : IconCounts::kWhenAsked);
        return false;
    }
    // The new directory is the plan's: reading it back could only fail after
    // the change is made, and would cost a read per item.
    if (!FileHandle().Open(path, "r+b", false)) {
        // The change is made: failing the command now would tell the user otherwise.
        ShowInfo("[%s] was changed, but could not be opened again: %s", path.c_str(),
                 SystemErrorText(FileHandle().Error()).c_str());
        return true;
    }
    open_ = true;
    loaded_ = true;
    archivePath_ = path;
    SetFileName(path);
    directory_ = PlannedDirectory(plan);  // with the counts the plan knows
    iconCountsRead_ = countsRead;
    ForgetNameIndex();
    for (DatEntry& entry : directory_)
        entry.SetName(ToUpper(entry.Name()));
    return true;
}

RewriteResult DatArchive::ReplaceItem(int index, const std::string& path, Progress& progress) {
    if (!ReplaceItems({{index, path}}, progress)) return {};
    // After a rewrite whose archive could not be opened again there is no entry to ask.
    if (index >= ItemCount()) return {true, 0};
    return {true, static_cast<std::uint64_t>(Entry(index).size)};
}

RewriteResult DatArchive::AddItems(const std::vector<std::string>& paths, Progress& progress) {
    if (!open_ || paths.empty()) return {};
    std::vector<PlannedItem> plan = CurrentItems(directory_, FileHandle());
    std::uint64_t added = 0;
    for (const std::string& path : paths) {
        PlannedItem item;
        item.entry.SetName(SplitPath(path, kPathFileName));  // as spelled, not upper-cased
        // A file that cannot be stored stops the whole command before anything is written.
        if (!PlanSource(path, item)) return {};
        added += static_cast<std::uint64_t>(item.entry.size);
        plan.push_back(std::move(item));
    }
    ProgressScope scope(progress, 2 * static_cast<int>(plan.size()) + 11);
    SortByName(plan);
    scope.Step();
    if (!Rewrite(plan, progress)) return {};
    return {true, added};
}

std::string DatArchive::RemoveItem(int index, Progress& progress) {
    const std::vector<std::string> names = RemoveItems({index}, progress);
    return names.empty() ? std::string() : names.front();
}

std::vector<std::string> DatArchive::RemoveItems(const std::vector<int>& indices,
                                                 Progress& progress) {
    if (!open_ || indices.empty()) return {};
    std::vector<bool> dropped(directory_.size(), false);
    for (int index : indices) {
        if (index < 0 || index >= ItemCount()) return {};
        dropped[static_cast<std::size_t>(index)] = true;
    }
    std::vector<PlannedItem> plan;
    std::vector<std::string> names;
    plan.reserve(directory_.size());
    for (std::size_t i = 0; i < directory_.size(); ++i) {
        const DatEntry& entry = directory_[i];
        if (dropped[i])
            names.push_back(entry.Name());
        else
            plan.push_back(PlannedItem{entry, &FileHandle(), entry.offset, {}});
    }
    // Two steps per kept item (its record and its copy), then one per removed item.
    ProgressScope scope(progress, 2 * static_cast<int>(plan.size()));
    if (!Rewrite(plan, progress)) return {};
    scope.Step(static_cast<int>(names.size()));
    return names;
}

bool DatArchive::ReplaceItems(const std::vector<std::pair<int, std::string>>& replacements,
                              Progress& progress) {
    if (!open_ || replacements.empty()) return false;
    std::vector<PlannedItem> plan = CurrentItems(directory_, FileHandle());
    for (const auto& [index, path] : replacements) {
        if (index < 0 || index >= ItemCount()) return false;
        // A file that cannot be stored stops the whole command before anything is written.
        if (!PlanSource(path, plan[static_cast<std::size_t>(index)])) return false;
    }
    ProgressScope scope(progress, 2 * ItemCount());
    return Rewrite(plan, progress);
}
