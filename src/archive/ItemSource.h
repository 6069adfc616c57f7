#pragma once
// The files that become items: each is checked before an archive is written
// and opened only while its bytes are copied, so that a folder of any size
// stays within the limit on open files.

#include <cstdint>
#include <optional>
#include <string>

class DataFile;

// Checks that `path` is a regular file that can be read and gives its size.
// Anything else (missing, unreadable, a FIFO, a device, a file whose size the
// system does not state) is refused, nothing, with a message naming it.
std::optional<std::uint64_t> CheckItemSource(const std::string& path);

// Opens a checked source for copying; fails, with a message naming it, when
// it cannot be opened or is no longer a regular file of `size` bytes.
bool OpenItemSource(const std::string& path, std::uint64_t size, DataFile& source);
