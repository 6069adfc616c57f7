#include "cli/ItemLookup.h"

#include <string>

#include "archive/DatArchive.h"
#include "archive/NamePattern.h"
#include "support/Messages.h"
#include "support/Paths.h"

ItemLookup::ItemLookup(const DatArchive& archive) : archive_(archive) {}

namespace {

// N of "#N" (digits only, at most 11 of them); -1 when `text` is no number.
long long ItemNumber(const std::string& text) {
    if (text.size() < 2 || text.size() > 12 || text.front() != '#') return -1;
    if (text.find_first_not_of("0123456789", 1) != std::string::npos) return -1;
    return std::stoll(text.substr(1));
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
