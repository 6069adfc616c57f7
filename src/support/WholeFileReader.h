#pragma once
// Reading a small file whole, such as a description or a manifest.

#include <cstdint>
#include <string>

// Reads the file at `path` into `text`. False, after a message naming the
// file ("[%s] Not found", "Cannot open [%s]", "Error on reading [%s]", or
// that it passes `limit` bytes), when it cannot be read whole.
bool ReadWholeFile(const std::string& path, std::uint64_t limit, std::string& text);
