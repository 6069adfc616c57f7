#pragma once
// Finds items by their stored names in constant time: an open-addressing table
// of directory indexes, built in one pass over the directory with one
// allocation, so that looking up many names of a large archive costs about one
// pass over its directory.

#include <array>
#include <cstddef>
#include <vector>

#include "archive/DatEntry.h"

class ItemNameIndex {
public:
    using Name = std::array<char, dat::kNameSize>;

    // Indexes `entries`, whose names are zero-padded; of equal names the first
    // is kept.
    void Build(const std::vector<DatEntry>& entries);
    void Clear() { slots_.clear(); }
    bool Empty() const { return slots_.empty(); }
    // The index of the first of `entries` (those the index was built from, as
    // they were) named `name` (zero-padded), or -1.
    int Find(const std::vector<DatEntry>& entries, const Name& name) const;

private:
    std::size_t SlotOf(const std::vector<DatEntry>& entries, const Name& name) const;

    std::vector<int> slots_;  // -1 where empty; a power of two, at least twice the entries
};
