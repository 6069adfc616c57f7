#pragma once
// Finds the items that the command line names, in one pass over the
// directory however many names are given.

#include <string>
#include <unordered_map>

class DatArchive;

class ItemLookup {
public:
    explicit ItemLookup(const DatArchive& archive);

    // The index of the item named `text` (any case; the first of equal
    // names), or -1 after a message naming the archive.
    int Find(const std::string& text) const;

private:
    const DatArchive& archive_;
    std::unordered_map<std::string, int> firstByName_;
};
