#include "cli/ItemLookup.h"

#include "archive/DatArchive.h"
#include "support/Messages.h"
#include "support/Paths.h"

ItemLookup::ItemLookup(const DatArchive& archive) : archive_(archive) {
    for (int i = 0; i < archive.ItemCount(); ++i)
        firstByName_.emplace(ToUpper(archive.Entry(i).Name()), i);
}

int ItemLookup::Find(const std::string& text) const {
    const auto found = firstByName_.find(ToUpper(text));
    if (found != firstByName_.end()) return found->second;
    ShowError("%s is not an item of %s", text.c_str(), archive_.ArchivePath().c_str());
    return -1;
}
