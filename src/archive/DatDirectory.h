#pragma once
// Reading the directory of a DAT archive: the stated record count is checked
// against what the file can hold before anything is allocated, then the
// records are read in blocks of bounded size and handed on one by one.

#include <cstdint>
#include <functional>

#include "archive/DatEntry.h"

class DataFile;

// Sets `count` to the number of records the archive in `file` states, then
// calls `visit` for every record, the end record included, with the name as
// stored and the offset (the size is left at 0).
// False when the file cannot be an archive (too short for the count, a count
// below 1, a directory longer than the file or than the format allows) or a
// read fails; `visit` may then have seen some of the records.
bool ReadDatRecords(DataFile& file, std::uint64_t& count,
                    const std::function<void(const DatEntry&)>& visit);
