#pragma once
// Finds the items that the command line names or numbers: names through the
// archive's own index, so that k names cost one pass over the directory.

#include <string>
#include <utility>
#include <vector>

class DatArchive;

class ItemLookup {
public:
    explicit ItemLookup(const DatArchive& archive);

    // The index of the item `text` stands for: "#N" is the N-th item (1-based,
    // the rows of an unfiltered list in order), anything else a name in any
    // case (the first of equal names). -1 after a message naming the archive.
    int Find(const std::string& text) const;
    // The items `text` stands for: a shell-style pattern ("UNIT*", any case)
    // gives every item it matches, in directory order; a pattern that matches
    // nothing may still be the exact name of an item. Anything else as Find.
    // Empty after a message naming the pattern or the archive.
    std::vector<int> FindAll(const std::string& text) const;
    // A pattern in the file name of replace's FILE ("new/UNIT*") chooses
    // items, as in extract and remove: each item it matches is to be replaced
    // by the file of that item's name (any letter case) in the FILE's folder.
    // False, after a message, when it matches no item or a matched item has
    // no file there.
    bool FindReplacements(const std::string& path,
                          std::vector<std::pair<int, std::string>>& replacements) const;

private:
    const DatArchive& archive_;
};
