#pragma once
// Writing a whole archive: the directory, then every item's bytes copied from
// its source, in directory order and without gaps.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/DatEntry.h"

class DataFile;
class Progress;

// One item of an archive about to be written: its name and size, and where its
// bytes come from: an open file read from an offset, a checked file named
// by `sourcePath` that is opened only while it is copied, or bytes in memory
// (`bytes`, owned by the caller, entry.size of them).
struct PlannedItem {
    DatEntry entry;
    DataFile* source = nullptr;
    std::uint64_t sourceOffset = 0;
    std::string sourcePath;
    const std::vector<std::uint8_t>* bytes = nullptr;
};

// Sorts items by the archive's name order; equal names keep their order.
void SortByName(std::vector<PlannedItem>& items);

// The directory that WriteDat gives `items`: their entries with the offsets
// their bytes get, names and icon counts as planned.
std::vector<DatEntry> PlannedDirectory(const std::vector<PlannedItem>& items);

// Writes the archive into `out` (a new, empty file), stepping `progress` once
// per directory record and once per item copied. Refuses an archive that would
// pass 4 GiB, and stops at a source that ends early or a position that is not
// where the bytes written so far end; messages name `targetPath`, the archive
// that `out` is to become, or the source.
bool WriteDat(DataFile& out, const std::vector<PlannedItem>& items, Progress& progress,
              const std::string& targetPath);
