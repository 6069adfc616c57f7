#pragma once
// Finds the items that the command line names or numbers: names through the
// archive's own index, so that k names cost one pass over the directory.

#include <string>

class DatArchive;

class ItemLookup {
public:
    explicit ItemLookup(const DatArchive& archive);

    // The index of the item `text` stands for: "#N" is the N-th item (1-based,
    // the rows of an unfiltered list in order), anything else a name in any
    // case (the first of equal names). -1 after a message naming the archive.
    int Find(const std::string& text) const;

private:
    const DatArchive& archive_;
};
