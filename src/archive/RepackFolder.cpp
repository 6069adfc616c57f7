#include "archive/RepackFolder.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>
#include <system_error>
#include <vector>

#include "archive/DatDirectory.h"
#include "archive/DatFormat.h"
#include "archive/DatWriter.h"
#include "archive/ItemSource.h"
#include "archive/PlannedChange.h"
#include "support/DataFile.h"
#include "support/ErrorLog.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/SafeFileWriter.h"
#include "support/Text.h"

namespace fs = std::filesystem;

namespace {

struct FolderFile {
    std::string name;
};

// The files of `folder` matching "*.s16" (any case), ordered by name so that
// repacking the same folder always gives the same archive.
std::vector<FolderFile> ListS16Files(const std::string& folder) {
    std::vector<FolderFile> files;
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? std::string(".") : folder, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored;
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(ignored) && UpperExtension(name) == ".S16") files.push_back({name});
    }
    std::sort(files.begin(), files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.name < b.name; });
    return files;
}

// True for a file that goes into the archive; the others are skipped, some
// with a line in the log.
bool Accept(const FolderFile& file, ErrorLog& log) {
    if (file.name.front() == '.') return false;
    if (file.name.size() > dat::kMaxFolderNameLength) {
        log.Printf("%s not included as lenght>12", file.name.c_str());
        return false;
    }
    if (UpperExtension(file.name) == ".EXE") {
        log.Printf("%s excluded - no executables allowed", file.name.c_str());
        return false;
    }
    return true;
}

// The item names of the archive at `path` (upper-cased); false when there is
// no file or it is no archive.
bool ReadOldNames(const std::string& path, std::vector<std::string>& names) {
    DataFile old;
    if (!old.Open(path, "rb", false)) return false;
    return ReadDatItemNames(old, names) == DirectoryRead::kRead;
}

// How many of `oldNames` no item of `plan` has (letter case aside).
int CountLacking(const std::vector<std::string>& oldNames, const std::vector<PlannedItem>& plan) {
    std::set<std::string> kept;
    for (const PlannedItem& item : plan)
        kept.insert(ToUpper(item.entry.Name()));
    return static_cast<int>(std::count_if(oldNames.begin(), oldNames.end(),
                                          [&kept](auto& name) { return kept.count(name) == 0; }));
}

}  // namespace

bool RepackFolder(const std::string& newArchivePath, ErrorLog& log, Progress& progress,
                  DurabilityBatch* batch, PlannedChange* planOnly) {
    const std::string folder = SplitPath(newArchivePath, kPathFolder);
    const std::vector<FolderFile> files = ListS16Files(folder);
    if (files.empty()) {
        ShowInfo("%s\nNo S6 files found on Folder:\n%s\n", newArchivePath.c_str(), folder.c_str());
        return false;
    }
    // An archive already at the path is kept as the backup, as every rewrite keeps one.
    const std::string backupPath = dat::BackupPath(newArchivePath);
    SafeFileWriter writer(newArchivePath, backupPath);
    if (batch != nullptr) writer.DeferDurability(*batch);

    std::vector<FolderFile> accepted;
    std::copy_if(files.begin(), files.end(), std::back_inserter(accepted),
                 [&log](const FolderFile& file) { return Accept(file, log); });
    ProgressScope scope(progress, 2 * static_cast<int>(accepted.size()) + 10);
    std::vector<PlannedItem> plan;
    for (const FolderFile& file : accepted) {
        PlannedItem item;
        const std::optional<std::uint64_t> size = CheckItemSource(folder + file.name);
        if (!size) return false;
        item.entry.SetName(file.name);
        item.entry.size = static_cast<std::int64_t>(*size);
        item.sourcePath = folder + file.name;
        plan.push_back(std::move(item));
        scope.Step();
    }
    SortByName(plan);
    scope.Step(10);
    if (planOnly != nullptr) {
        std::uint64_t oldLength = 0;
        const std::vector<DatEntry> old = ReadArchiveEntries(newArchivePath, oldLength);
        *planOnly = DescribePlan(newArchivePath, old, oldLength, nullptr, plan);
        return true;
    }
    if (!writer.Create() || !WriteDat(writer.File(), plan, progress, newArchivePath)) return false;

    std::error_code error;
    const bool replacing = fs::exists(newArchivePath, error);
    std::vector<std::string> oldNames;
    const bool wasArchive = replacing && ReadOldNames(newArchivePath, oldNames);
    if (!writer.Commit()) return false;
    if (wasArchive) {
        ShowInfo("The old archive is kept as [%s]: %d of its items are not in the new one",
                 backupPath.c_str(), CountLacking(oldNames, plan));
    } else if (replacing) {
        ShowInfo("The old file is kept as [%s]", backupPath.c_str());
    }
    return true;
}
