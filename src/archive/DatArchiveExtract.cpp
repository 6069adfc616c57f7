// Copying items out of the archive into ordinary files. Nothing is written over
// the archive itself, over a file the user did not name unless the user agrees,
// or through a link; each file appears only when complete.
#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "archive/DatArchive.h"
#include "archive/ItemNames.h"
#include "archive/ItemOutputFile.h"
#include "support/DataFile.h"
#include "support/DurabilityBatch.h"
#include "support/FileCopy.h"
#include "support/FileIdentity.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/Text.h"
#include "support/UserInterface.h"

namespace fs = std::filesystem;

namespace {

// The file names the chosen items get: the first item of a name (in any
// letter case) keeps it, the others get "BASE~2.EXT", "BASE~3.EXT", ... so
// that no item is lost on any file system.
std::vector<std::string> DistinctFileNames(const std::vector<DatEntry>& directory,
                                           const std::vector<int>& chosen) {
    std::set<std::string> taken;
    std::vector<bool> first(chosen.size());
    for (std::size_t i = 0; i < chosen.size(); ++i)
        first[i] = taken.insert(ToUpper(directory[chosen[i]].Name())).second;
    std::vector<std::string> names;
    names.reserve(chosen.size());
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::string name = directory[chosen[i]].Name();
        if (first[i]) {
            names.push_back(name);
            continue;
        }
        const std::string base = SplitPath(name, kPathBaseName);
        const std::string extension = SplitPath(name, kPathExtension);
        std::string distinct;
        for (int n = 2; distinct.empty() || !taken.insert(ToUpper(distinct)).second; ++n)
            distinct = FormatText("%s~%d%s", base.c_str(), n, extension.c_str());
        if (IsPlainItemName(name)) {
            ShowInfo("[%s] has the name of another item: it is written as %s",
                     PrintableName(name).c_str(), PrintableName(distinct).c_str());
        }
        names.push_back(distinct);
    }
    return names;
}

// The chosen items whose bytes overlap those of an item written before them
// (in file order). Items of a sound archive lie one after the other; bytes
// shared by several items would make the output far larger than the archive.
std::vector<bool> SharingBytes(const std::vector<DatEntry>& directory,
                               const std::vector<int>& chosen) {
    std::vector<std::size_t> order(chosen.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return directory[chosen[x]].offset < directory[chosen[y]].offset;
    });
    std::vector<bool> shared(chosen.size(), false);
    std::uint64_t end = 0;  // the furthest byte of the items written so far
    for (std::size_t i : order) {
        const DatEntry& entry = directory[chosen[i]];
        if (entry.size <= 0) continue;
        if (entry.offset < end) {
            shared[i] = true;
            continue;
        }
        end = std::max(end, entry.offset + static_cast<std::uint64_t>(entry.size));
    }
    return shared;
}

}  // namespace

// Whether `path` (which may not exist) is the archive's own file, by device and file number.
bool DatArchive::IsArchiveFile(const std::string& path) {
    return FileIdentity::OfOpenFile(FileHandle()) == FileIdentity::OfPath(path);
}

DatArchive::OutputCheck DatArchive::CheckOutput(const std::string& path, bool askBeforeReplacing) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) return OutputCheck::kCreate;
    if (IsArchiveFile(path)) {
        ShowError("[%s] is the archive being read: the item is not written",
                  PrintableName(path).c_str());
        return OutputCheck::kRefused;
    }
    if (askBeforeReplacing && !AskYesNo("[%s] already exists.\nWrite over it?", path.c_str()))
        return OutputCheck::kKept;
    return OutputCheck::kReplace;
}

bool DatArchive::WriteItem(const DatEntry& entry, const std::string& outputPath, bool created,
                           DurabilityBatch& batch) {
    ItemOutputFile out(outputPath);
    if (!out.Create()) return false;
    if (!CopyFileRange(FileHandle(), entry.offset, static_cast<std::uint64_t>(entry.size),
                       out.File())) {
        if (out.File().Failed()) {
            ReportWriteError(PrintableName(outputPath), out.File().Error());
        } else {
            ReportReadError(archivePath_, FileHandle().Error());
        }
        return false;
    }
    if (!out.Commit()) return false;
    batch.Add(outputPath, created);
    return true;
}

bool DatArchive::ExtractItem(int index, const std::string& outputPath, bool askBeforeReplacing) {
    if (!open_ || index < 0 || index >= ItemCount()) return false;
    WaitCursor wait;
    const OutputCheck check = CheckOutput(outputPath, askBeforeReplacing);
    switch (check) {
        case OutputCheck::kRefused:
            return false;
        case OutputCheck::kKept:
            ShowError("[%s] already exists and is kept: the item is not written",
                      PrintableName(outputPath).c_str());
            return false;
        case OutputCheck::kCreate:
        case OutputCheck::kReplace:
            break;
    }
    const bool created = check == OutputCheck::kCreate;
    DurabilityBatch batch;
    return WriteItem(Entry(index), outputPath, created, batch) && batch.MakeDurable();
}

ItemWriteResult DatArchive::WriteItems(const std::vector<int>& indices,
                                       const std::string& folderPath, Progress& progress) {
    ItemWriteResult result;
    result.done = open_;
    std::vector<int> chosen;
    std::vector<bool> seen(directory_.size(), false);
    for (int index : indices) {
        if (!open_ || index < 0 || index >= ItemCount()) {
            ++result.failures;
        } else if (!seen[static_cast<std::size_t>(index)]) {
            seen[static_cast<std::size_t>(index)] = true;
            chosen.push_back(index);
        }
    }
    const std::string folder = AsFolder(folderPath);
    ProgressScope scope(progress, static_cast<int>(chosen.size()));
    const std::vector<std::string> names = DistinctFileNames(directory_, chosen);
    const std::vector<bool> shared = SharingBytes(directory_, chosen);
    std::vector<std::string> kept;
    DurabilityBatch batch;  // one flush to disk for all files, before they are counted
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (scope.Cancelled()) {
            result.cancelled = true;
            break;
        }
        const DatEntry& entry = Entry(chosen[i]);
        scope.Step();
        if (ItemPathInFolder(entry, folder).empty()) {
            ++result.failures;
            continue;
        }
        if (shared[i]) {
            ShowError("[%s] shares its bytes with another item: the item is not written",
                      PrintableName(entry.Name()).c_str());
            ++result.failures;
            continue;
        }
        const std::string path = folder + names[i];
        const OutputCheck check = CheckOutput(path, true);
        if (check == OutputCheck::kKept) kept.push_back(path);
        const bool write = check == OutputCheck::kCreate || check == OutputCheck::kReplace;
        if (write && WriteItem(entry, path, check == OutputCheck::kCreate, batch))
            ++result.written;
        else
            ++result.failures;
    }
    if (!batch.MakeDurable()) {  // the files it made are gone again
        result.failures += result.written;
        result.written = 0;
    }
    if (kept.size() == 1) {
        ShowError("[%s] already exists and is kept: the item is not written",
                  PrintableName(kept[0]).c_str());
    } else if (kept.size() > 1) {
        ShowError("%d files already in [%s] are kept: their items are not written",
                  static_cast<int>(kept.size()), folder.c_str());
    }
    if (result.cancelled) {
        ShowInfo("Cancelled: %d of %d items were written", result.written,
                 static_cast<int>(chosen.size()));
    }
    return result;
}

ItemWriteResult DatArchive::UnpackAll(const std::string& folder, Progress& progress) {
    std::vector<int> all(directory_.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    return WriteItems(all, folder, progress);
}

bool DatArchive::CopyItemBytes(int index, const ByteSink& sink) {
    if (index < 0 || index >= ItemCount()) return false;
    const DatEntry& entry = Entry(index);
    constexpr std::uint64_t kBlock = 1 << 20;
    const auto size = static_cast<std::uint64_t>(std::max<std::int64_t>(entry.size, 0));
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(size, kBlock)));
    for (std::uint64_t done = 0; done < size;) {
        const auto count = static_cast<std::size_t>(std::min(size - done, kBlock));
        if (!FileHandle().ReadAt(entry.offset + done, buffer.data(), count)) {
            ReportReadError(archivePath_, FileHandle().Error());
            return false;
        }
        if (!sink(std::span<const std::uint8_t>(buffer.data(), count))) return false;
        done += count;
    }
    return true;
}
