#include "archive/ArchiveCommands.h"

#include "archive/DatArchive.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

bool SameFileName(const std::string& path, const std::string& itemName) {
    return ToUpper(SplitPath(path, kPathFileName)) == ToUpper(SplitPath(itemName, kPathFileName));
}

}  // namespace

bool ReplaceWithSameNamedFile(DatArchive& archive, int index, const std::string& path,
                              Progress& progress) {
    return ReplaceWithSameNamedFiles(archive, {{index, path}}, progress);
}

bool ReplaceWithSameNamedFiles(DatArchive& archive,
                               const std::vector<std::pair<int, std::string>>& replacements,
                               Progress& progress, const SourceRules& /*rules*/) {
    if (archive.ItemCount() < 1 || replacements.empty()) return false;
    for (const auto& [index, path] : replacements) {
        if (index < 0 || index >= archive.ItemCount()) return false;
        if (!SameFileName(path, archive.Entry(index).Name())) {
            ShowError(
                "\n   You must pick a same name S16 file for replacement !   \nUse Add option "
                "instead");
            return false;
        }
    }
    return archive.ReplaceItems(replacements, progress);
}

bool AddFiles(DatArchive& archive, const std::vector<std::string>& paths, Progress& progress,
              const SourceRules& /*rules*/) {
    if (archive.ItemCount() < 1 || paths.empty()) return false;
    bool done = false;
    archive.AddItems(paths, progress, &done);
    return done;
}

std::string RemoveItemAndTell(DatArchive& archive, int index, Progress& progress) {
    const std::vector<std::string> names = RemoveItemsAndTell(archive, {index}, progress);
    return names.empty() ? std::string() : names.front();
}

std::vector<std::string> RemoveItemsAndTell(DatArchive& archive, const std::vector<int>& indices,
                                            Progress& progress) {
    if (archive.ItemCount() < 1) return {};
    const std::vector<std::string> names = archive.RemoveItems(indices, progress);
    for (const std::string& name : names)
        ShowInfo("\n%s \t removed  \n", name.c_str());
    return names;
}

bool ExtractItemAndTell(DatArchive& archive, int index, const std::string& path) {
    if (archive.ItemCount() < 1 || !archive.ExtractItem(index, path)) return false;
    ShowInfo("\n%s \t saved to disk  \n", path.c_str());
    return true;
}

void TellFilteredExtraction(int written, const std::string& folder) {
    ShowInfo("\n%d items saved to  \n  %s", written, folder.c_str());
}

std::string ItemPathInFolder(const DatEntry& entry, const std::string& folder) {
    const std::string name = entry.Name();
    if (!IsPlainItemName(name)) {
        ShowError("[%s] is not a plain file name: the item is not written", name.c_str());
        return {};
    }
    return folder + name;
}
