// Packing an editable folder back into an archive.
#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <system_error>

#include "archive/DatFormat.h"
#include "archive/DatWriter.h"
#include "archive/EditableFolder.h"
#include "archive/FolderManifest.h"
#include "archive/ItemNames.h"
#include "archive/ItemSource.h"
#include "archive/PlannedChange.h"
#include "sprite/SheetBuild.h"
#include "support/DataFile.h"
#include "support/FileIdentity.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/SafeFileWriter.h"
#include "support/Text.h"
#include "support/WholeFileReader.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kMaxManifestBytes = 64ull << 20;

// The plan of the new archive, with the S16 bytes built from sheets that
// its items point at.
struct PackPlan {
    std::vector<PlannedItem> items;
    std::vector<std::unique_ptr<std::vector<std::uint8_t>>> built;
    int fromSheets = 0;
    int added = 0;
};

bool PlanSheet(const std::string& path, PlannedItem& item, PackPlan& plan) {
    auto bytes = std::make_unique<std::vector<std::uint8_t>>();
    if (!S16BytesFromSheetFile(path, 0, 0, *bytes)) return false;
    item.entry.size = static_cast<std::int64_t>(bytes->size());
    item.entry.isS16 = true;
    item.bytes = bytes.get();
    plan.built.push_back(std::move(bytes));
    ++plan.fromSheets;
    return true;
}

bool PlanFile(const std::string& path, PlannedItem& item) {
    const std::optional<std::uint64_t> size = CheckItemSource(path);
    if (!size) return false;
    item.entry.size = static_cast<std::int64_t>(*size);
    item.entry.isS16 = IsS16Name(item.entry.Name());
    item.sourcePath = path;
    return true;
}

// The files of the folder that the manifest does not name, in name order;
// hidden files, folders, the manifest, and the archive being written and its
// backup are left out.
std::vector<std::string> UnlistedFiles(const std::string& folder, const FolderManifest& manifest,
                                       const std::string& archivePath) {
    std::set<std::string> listed{kManifestName};
    for (const ManifestItem& item : manifest.items) {
        listed.insert(item.sheet.empty() ? item.file : item.sheet);
        if (!item.sheet.empty()) listed.insert(SheetDescriptionPath(item.sheet));
    }
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        const std::string name = it->path().filename().string();
        if (!it->is_regular_file(ignored) || name.front() == '.' || listed.count(name) > 0 ||
            IsSameFile(folder + name, archivePath) ||
            IsSameFile(folder + name, dat::BackupPath(archivePath)))
            continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool PlanAddedFiles(const std::string& folder, const FolderManifest& manifest,
                    const std::string& archivePath, PackPlan& plan) {
    std::set<std::string> taken;
    for (const PlannedItem& item : plan.items)
        taken.insert(ToUpper(item.entry.Name()));
    const std::vector<std::string> files = UnlistedFiles(folder, manifest, archivePath);
    const std::set<std::string> present(files.begin(), files.end());
    std::set<std::string> descriptions;  // of added sheets, not items themselves
    for (const std::string& name : files) {
        if (UpperExtension(name) == ".PNG" && present.count(SheetDescriptionPath(name)) > 0)
            descriptions.insert(SheetDescriptionPath(name));
    }
    for (const std::string& name : files) {
        if (descriptions.count(name) > 0) continue;
        const bool sheet =
            UpperExtension(name) == ".PNG" && present.count(SheetDescriptionPath(name)) > 0;
        const std::string itemName = sheet ? SplitPath(name, kPathBaseName) : name;
        if (itemName.size() > dat::kMaxFolderNameLength) {
            ShowError("%s: an item name has at most %d characters", (folder + name).c_str(),
                      static_cast<int>(dat::kMaxFolderNameLength));
            return false;
        }
        if (!taken.insert(ToUpper(itemName)).second) {
            ShowError("%s: an item named %s is in the archive already", (folder + name).c_str(),
                      itemName.c_str());
            return false;
        }
        PlannedItem item;
        item.entry.SetName(itemName);
        if (!(sheet ? PlanSheet(folder + name, item, plan) : PlanFile(folder + name, item)))
            return false;
        plan.items.push_back(std::move(item));
        ++plan.added;
    }
    return true;
}

bool PlanFolder(const std::string& folder, const std::string& archivePath, PackPlan& plan) {
    const std::string manifestPath = folder + kManifestName;
    std::string text;
    if (!ReadWholeFile(manifestPath, kMaxManifestBytes, text)) return false;
    FolderManifest manifest;
    std::string problem;
    if (!ParseManifest(text, manifest, problem)) {
        ShowError("[%s] is not a manifest of an archive folder: %s", manifestPath.c_str(),
                  problem.c_str());
        return false;
    }
    for (const ManifestItem& listed : manifest.items) {
        PlannedItem item;
        item.entry.name = listed.name;
        if (!(listed.sheet.empty() ? PlanFile(folder + listed.file, item)
                                   : PlanSheet(folder + listed.sheet, item, plan)))
            return false;
        plan.items.push_back(std::move(item));
    }
    return PlanAddedFiles(folder, manifest, archivePath, plan);
}

// Whether `item` holds the bytes of `entry` of the archive open in `old`.
bool SameBytes(const PlannedItem& item, DataFile& old, const DatEntry& entry) {
    if (entry.size != item.entry.size) return false;
    std::string now;
    if (item.bytes != nullptr) {
        now.assign(item.bytes->begin(), item.bytes->end());
    } else if (!ReadWholeFile(item.sourcePath, static_cast<std::uint64_t>(entry.size), now)) {
        return false;
    }
    std::string was(now.size(), '\0');
    return (was.empty() || old.ReadAt(entry.offset, was.data(), was.size())) && was == now;
}

// What the plan changes in the archive at `archivePath`: a planned item whose
// bytes equal those of the old item of its name counts as that item, kept.
PlannedChange DescribePack(const std::string& archivePath, std::vector<PlannedItem> items) {
    std::uint64_t oldLength = 0;
    const std::vector<DatEntry> before = ReadArchiveEntries(archivePath, oldLength);
    DataFile old;
    if (!before.empty() && old.Open(archivePath, "rb", false)) {
        std::multimap<std::string, std::size_t> byName;  // upper-cased name -> entry, in order
        for (std::size_t k = 0; k < before.size(); ++k)
            byName.emplace(ToUpper(before[k].Name()), k);
        for (PlannedItem& item : items) {
            const auto found = byName.find(ToUpper(item.entry.Name()));
            if (found == byName.end()) continue;
            const DatEntry& entry = before[found->second];
            if (SameBytes(item, old, entry)) {
                item.source = &old;
                item.sourceOffset = entry.offset;
            }
            byName.erase(found);
        }
    }
    return DescribePlan(archivePath, before, oldLength, &old, items);
}

}  // namespace

bool PackEditableFolder(const std::string& folderPath, const std::string& archivePath,
                        PlannedChange* planOnly, Progress& progress) {
    const std::string folder = AsFolder(folderPath);
    PackPlan plan;
    if (!PlanFolder(folder, archivePath, plan)) return false;
    std::uint64_t size = dat::DirectorySize(plan.items.size() + 1);
    for (const PlannedItem& item : plan.items)
        size += static_cast<std::uint64_t>(item.entry.size);
    const std::string summary =
        FormatText("%s: %d items (%d built from sheets, %d added from the folder), %llu bytes",
                   archivePath.c_str(), static_cast<int>(plan.items.size()), plan.fromSheets,
                   plan.added, static_cast<unsigned long long>(size));
    if (planOnly != nullptr) {
        *planOnly = DescribePack(archivePath, plan.items);
        ShowInfo("Would write %s; nothing was written", summary.c_str());
        return true;
    }
    ProgressScope scope(progress, 2 * static_cast<int>(plan.items.size()) + 1);
    SafeFileWriter writer(archivePath, dat::BackupPath(archivePath));
    if (!writer.Create() || !WriteDat(writer.File(), plan.items, progress, archivePath) ||
        !writer.Commit())
        return false;
    ShowInfo("Wrote %s", summary.c_str());
    return true;
}
