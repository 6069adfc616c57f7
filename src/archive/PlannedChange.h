#pragma once
// What a rewrite of an archive would change, told by a dry run instead of
// writing: the items added, replaced and removed, and the archive's size
// before and after.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/DatEntry.h"

class DataFile;
struct PlannedItem;

struct ChangedItem {
    std::string name;
    std::int64_t sizeBefore = 0;  // 0 for an added item
    std::int64_t sizeAfter = 0;   // 0 for a removed item
};

struct PlannedChange {
    std::string archivePath;
    std::vector<ChangedItem> added;
    std::vector<ChangedItem> replaced;
    std::vector<ChangedItem> removed;
    std::uint64_t bytesBefore = 0;  // 0 when there is no archive yet
    std::uint64_t bytesAfter = 0;
};

// Compares `plan` with the archive's items `before`: a planned item read from
// the archive file itself (`archive`; nullptr when nothing is kept) is kept,
// an entry that no kept item stands for is removed, and a new item is a
// replacement when a removed item had its name, else an addition.
PlannedChange DescribePlan(const std::string& archivePath, const std::vector<DatEntry>& before,
                           std::uint64_t bytesBefore, const DataFile* archive,
                           const std::vector<PlannedItem>& plan);

// The items of the archive at `path` with their sizes, and its length; none
// when there is no archive there.
std::vector<DatEntry> ReadArchiveEntries(const std::string& path, std::uint64_t& length);

// One line per item ("add NAME (N bytes)", "replace NAME (A -> B bytes)",
// "remove NAME (N bytes)"), then "PATH: A -> B bytes; nothing was written (dry run)".
std::string PlannedChangeText(const PlannedChange& change);
