#pragma once
// Reading the directory of a DAT archive: the stated record count is checked
// against what the file can hold before anything is allocated, then the
// records are read in blocks of bounded size and handed on one by one.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/DatEntry.h"

class DataFile;

// How reading a directory ended: a file that cannot be an archive and a read
// the system refused are different faults with different messages.
enum class DirectoryRead { kRead, kNotArchive, kReadFailed };

// Sets `count` to the number of records the archive in `file` states, then
// calls `visit` for every record, the end record included, with the name as
// stored and the offset (the size is left at 0).
// kNotArchive when the file cannot be an archive (too short for the count, a
// count below 1, a directory longer than the file or than the format allows);
// kReadFailed when a read fails. `visit` may then have seen some records.
DirectoryRead ReadDatRecords(DataFile& file, std::uint64_t& count,
                             const std::function<void(const DatEntry&)>& visit);

// The upper-cased names of the archive's items (the end record left out).
DirectoryRead ReadDatItemNames(DataFile& file, std::vector<std::string>& names);

// True for kRead; otherwise shows why `path` could not be read as an archive
// ("[%s] is not a DAT archive or is damaged", or the read error of `file`).
bool DirectoryWasRead(DirectoryRead read, const std::string& path, const DataFile& file);
