#include "archive/ArchiveCommands.h"

#include <set>

#include "archive/DatArchive.h"
#include "archive/ItemNames.h"
#include "archive/ItemSource.h"
#include "sprite/S16Image.h"
#include "support/FileIdentity.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Text.h"

namespace {

// The archive's own file as a source would be read while it is rewritten.
bool IsNotTheArchive(const DatArchive& archive, const std::string& path) {
    if (!IsSameFile(path, archive.ArchivePath())) return true;
    ShowError("[%s] is the archive itself: it cannot be stored in it", path.c_str());
    return false;
}

bool SameFileName(const std::string& path, const std::string& itemName) {
    return ToUpper(SplitPath(path, kPathFileName)) == ToUpper(SplitPath(itemName, kPathFileName));
}

// The names the new items get, checked against the archive and each other.
bool CheckNewNames(const DatArchive& archive, const std::vector<std::string>& paths,
                   const SourceRules& rules) {
    std::set<std::string> taken;
    if (!rules.allowDuplicate) {
        for (const DatEntry& entry : archive.Entries())
            taken.insert(ToUpper(entry.Name()));
    }
    std::set<std::string> given;
    for (const std::string& path : paths) {
        const std::string name = SplitPath(path, kPathFileName);
        if (static_cast<int>(name.size()) > dat::kMaxFolderNameLength) {
            ShowError("%s: an item name has at most %d characters", path.c_str(),
                      dat::kMaxFolderNameLength);
            return false;
        }
        if (rules.allowDuplicate) continue;
        if (taken.count(ToUpper(name)) > 0) {
            ShowError("%s is already an item of %s: use replace to change it%s", name.c_str(),
                      archive.ArchivePath().c_str(), rules.duplicateHint.c_str());
            return false;
        }
        if (!given.insert(ToUpper(name)).second) {
            ShowError("%s is named twice among the files to add%s", name.c_str(),
                      rules.duplicateHint.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

bool CheckSourceRules(const std::string& path, const SourceRules& rules) {
    // Only a readable regular file is opened below: a FIFO would never answer.
    if (!CheckItemSource(path)) return false;
    if (rules.force || UpperExtension(path) != ".S16") return true;
    // The rule the icon commands read S16 files by: a file they would refuse is
    // never stored as one, and one they read (0 icons included) always is.
    S16Image image;
    if (!image.OpenFile(path)) {
        ReportOpenError(path, image.File().Error());
        return false;
    }
    const std::string problem =
        image.TableReadFailed() ? "its icon table cannot be read" : image.TableProblem();
    if (problem.empty()) return true;
    ShowError("%s does not read as an S16 file: %s%s", path.c_str(), problem.c_str(),
              rules.forceHint.c_str());
    return false;
}

bool ReplaceWithSameNamedFile(DatArchive& archive, int index, const std::string& path,
                              Progress& progress) {
    return ReplaceWithSameNamedFiles(archive, {{index, path}}, progress);
}

bool ReplaceWithSameNamedFiles(DatArchive& archive,
                               const std::vector<std::pair<int, std::string>>& replacements,
                               Progress& progress, const SourceRules& rules) {
    if (archive.ItemCount() < 1 || replacements.empty()) return false;
    for (const auto& [index, path] : replacements) {
        if (index < 0 || index >= archive.ItemCount()) return false;
        if (!SameFileName(path, archive.Entry(index).Name())) {
            ShowError(
                "\n   You must pick a same name S16 file for replacement !   \nUse Add option "
                "instead");
            return false;
        }
        if (!IsNotTheArchive(archive, path) || !CheckSourceRules(path, rules)) return false;
    }
    return archive.ReplaceItems(replacements, progress);
}

bool AddFiles(DatArchive& archive, const std::vector<std::string>& paths, Progress& progress,
              const SourceRules& rules) {
    if (archive.ItemCount() < 1 || paths.empty()) return false;
    if (!CheckNewNames(archive, paths, rules)) return false;
    for (const std::string& path : paths) {
        if (!IsNotTheArchive(archive, path) || !CheckSourceRules(path, rules)) return false;
    }
    return archive.AddItems(paths, progress).done;
}

std::string RemoveItemAndTell(DatArchive& archive, int index, Progress& progress) {
    const std::vector<std::string> names = RemoveItemsAndTell(archive, {index}, progress);
    return names.empty() ? std::string() : names.front();
}

std::vector<std::string> RemoveItemsAndTell(DatArchive& archive, const std::vector<int>& indices,
                                            Progress& progress) {
    if (archive.ItemCount() < 1) return {};
    std::vector<std::string> names = archive.RemoveItems(indices, progress);
    if (archive.PlansOnly()) return names;  // nothing was removed
    for (const std::string& name : names)
        ShowInfo("\n%s \t removed  \n", PrintableName(name).c_str());
    return names;
}

bool ExtractItemAndTell(DatArchive& archive, int index, const std::string& path,
                        bool askBeforeReplacing) {
    if (archive.ItemCount() < 1 || !archive.ExtractItem(index, path, askBeforeReplacing))
        return false;
    ShowInfo("\n%s \t saved to disk  \n", PrintableName(path).c_str());
    return true;
}

void TellFilteredExtraction(int written, const std::string& folder) {
    ShowInfo("\n%d items saved to  \n  %s", written, folder.c_str());
}
