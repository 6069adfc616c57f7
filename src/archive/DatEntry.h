#pragma once
// One item of an archive's directory: its name, where its bytes lie, and its
// icon count when it is an S16 file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/DatFormat.h"

class DataFile;

struct DatEntry {
    std::array<char, dat::kNameSize> name{};  // zero-padded; no terminator at 13 characters
    std::uint32_t offset = 0;
    std::int64_t size = 0;
    std::int32_t icons = 0;  // 0 when not an S16 item or the stored count is below 1
    bool isS16 = false;

    // The name as text (up to the first zero byte, at most 13 characters).
    std::string Name() const;
    // Sets the name from `text`, cut to 13 characters and zero-padded.
    void SetName(const std::string& text);
};

// Upper-cases the stored name as ToUpper does and zeroes the bytes after its
// end, so that equal names compare equal as arrays; returns the name.
std::string_view UpperCaseName(std::array<char, dat::kNameSize>& name);
// The icon count of an S16 item whose bytes can hold the table it states;
// nothing for any other item.
std::optional<std::int32_t> ReadableIconCount(const DatEntry& entry);
// True when `name` contains "S16" once upper-cased.
bool IsS16Name(const std::string& name);
// The icon count that the S16 bytes at `offset` of `file` (`size` of them)
// state: 0 when the count is below 1 or the bytes are too few to hold one;
// nothing when the read fails.
std::optional<std::int32_t> ReadIconCount(DataFile& file, std::uint64_t offset, std::uint64_t size);
// Sets the icon count of every S16 entry in `entries` as ReadIconCount would
// (0 for other entries and where a read fails), reading the counts that lie
// close together in one block (at most 1 MB) in offset order, so that a
// directory of many small items costs a few reads instead of one per item.
void ReadIconCounts(DataFile& file, std::vector<DatEntry>& entries);
