#include "cli/ItemLookup.h"

#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#include "archive/DatArchive.h"
#include "archive/ItemNames.h"
#include "archive/NamePattern.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Text.h"

ItemLookup::ItemLookup(const DatArchive& archive) : archive_(archive) {}

namespace {

// N of "#N" (digits only, at most 11 of them); -1 when `text` is no number.
long long ItemNumber(const std::string& text) {
    if (text.size() < 2 || text.size() > 12 || text.front() != '#') return -1;
    if (text.find_first_not_of("0123456789", 1) != std::string::npos) return -1;
    return std::stoll(text.substr(1));
}

// The files of `folder` by their upper-cased names; a name spelled exactly
// as the upper-cased one wins over other spellings.
std::map<std::string, std::string> FilesByUpperName(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::string upper = ToUpper(name);
        if (name == upper || files.count(upper) == 0) files[upper] = name;
    }
    return files;
}

}  // namespace

int ItemLookup::Find(const std::string& text) const {
    const long long number = ItemNumber(text);
    if (number > 0 && number <= archive_.ItemCount()) return static_cast<int>(number - 1);
    if (number >= 0) {
        ShowError("%s is not an item of %s: its items are #1 to #%d", text.c_str(),
                  archive_.ArchivePath().c_str(), archive_.ItemCount());
        return -1;
    }
    const int index = archive_.FindItem(text);
    if (index >= 0) return index;
    ShowError("%s is not an item of %s", text.c_str(), archive_.ArchivePath().c_str());
    return -1;
}

std::vector<int> ItemLookup::FindAll(const std::string& text) const {
    if (IsNamePattern(text)) {
        std::vector<int> found = MatchingItems(archive_.Entries(), text);
        if (found.empty() && archive_.FindItem(text) >= 0) found.push_back(archive_.FindItem(text));
        if (found.empty())
            ShowError("%s matches no item of %s", text.c_str(), archive_.ArchivePath().c_str());
        return found;
    }
    const int index = Find(text);
    return index < 0 ? std::vector<int>{} : std::vector<int>{index};
}

bool ItemLookup::FindReplacements(const std::string& path,
                                  std::vector<std::pair<int, std::string>>& replacements) const {
    const std::vector<int> found = FindAll(SplitPath(path, kPathFileName));
    if (found.empty()) return false;
    const std::string folder = SplitPath(path, kPathFolder);
    const std::map<std::string, std::string> files = FilesByUpperName(folder);
    for (int index : found) {
        const std::string name = archive_.Entry(index).Name();
        const auto file = files.find(ToUpper(name));
        if (file == files.end()) {
            ShowError("%s matches the item %s, but %s holds no file of that name", path.c_str(),
                      PrintableName(name).c_str(), folder.empty() ? "." : folder.c_str());
            return false;
        }
        replacements.emplace_back(index, folder + file->second);
    }
    return true;
}
