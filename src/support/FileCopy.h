#pragma once
// Bulk copying between open files, the hot path of every archive rewrite.

#include <cstdint>

class DataFile;

// Appends `size` bytes of `source`, read from `offset`, at the current position
// of `target` and leaves `target` positioned after them. The source's own
// position is not used. False when the source ends early, a read fails (then
// `source.Error()` is set and the target is not failed) or a write fails
// (then `target.Failed()` is true), so that callers name the right file.
bool CopyFileRange(DataFile& source, std::uint64_t offset, std::uint64_t size, DataFile& target);
