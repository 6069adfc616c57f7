#include "archive/ArchiveCommands.h"

#include "archive/DatArchive.h"
#include "support/Messages.h"
#include "support/Paths.h"

bool ReplaceWithSameNamedFile(DatArchive& archive, int index, const std::string& path,
                              Progress& progress) {
    if (archive.ItemCount() < 1 || index < 0 || index >= archive.ItemCount()) return false;
    if (ToUpper(SplitPath(path, kPathFileName)) !=
        ToUpper(SplitPath(archive.Entry(index).Name(), kPathFileName))) {
        ShowError(
            "\n   You must pick a same name S16 file for replacement !   \nUse Add option instead");
        return false;
    }
    bool done = false;
    archive.ReplaceItem(index, path, progress, &done);
    return done;
}

bool AddFiles(DatArchive& archive, const std::vector<std::string>& paths, Progress& progress) {
    if (archive.ItemCount() < 1 || paths.empty()) return false;
    bool done = false;
    archive.AddItems(paths, progress, &done);
    return done;
}

std::string RemoveItemAndTell(DatArchive& archive, int index, Progress& progress) {
    if (archive.ItemCount() < 1) return {};
    const std::string name = archive.RemoveItem(index, progress);
    if (!name.empty()) ShowInfo("\n%s \t removed  \n", name.c_str());
    return name;
}

bool ExtractItemAndTell(DatArchive& archive, int index, const std::string& path,
                        bool askBeforeReplacing) {
    if (archive.ItemCount() < 1 || !archive.ExtractItem(index, path, askBeforeReplacing))
        return false;
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
