#pragma once
// Sizes and the name order of the DAT archive format.

#include <cstdint>
#include <string>

namespace dat {

inline constexpr int kCountSize = 4;
// A directory record: the item's offset, then its zero-padded name.
inline constexpr int kOffsetSize = 4;
inline constexpr int kNameSize = 13;
inline constexpr int kRecordSize = kOffsetSize + kNameSize;
// Names written from a folder are at most this long.
inline constexpr int kMaxFolderNameLength = 12;
// Offsets are 32-bit: nothing may end beyond this.
inline constexpr std::uint64_t kMaxArchiveSize = 0xFFFFFFFFull;

// Length of a directory of `records` records (terminator included).
inline constexpr std::uint64_t DirectorySize(std::uint64_t records) {
    return kCountSize + kRecordSize * records;
}

// The archive's name order: at most 13 characters, letters folded to lower
// case, then unsigned bytes; the comparison stops at the first zero byte.
int CompareNames(const char* a, const char* b);

// "<stem>_back.dat" beside `archivePath`: where a rewrite of the archive, or a
// repack over it, keeps the file it replaces.
std::string BackupPath(const std::string& archivePath);

}  // namespace dat
