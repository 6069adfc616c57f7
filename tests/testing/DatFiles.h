#pragma once
// Builds DAT archive bytes for the archive tests.

#include <string>
#include <utility>

#include "TestFiles.h"

using NamedItem = std::pair<std::string, Bytes>;

// An archive of the items in the order given, laid out as the format says.
Bytes DatBytes(const std::vector<NamedItem>& items);
// The names in an archive file's directory, as stored (13 bytes, cut at zero).
std::vector<std::string> StoredNames(const Bytes& archive);
// Bytes of `size` bytes, each derived from `seed`.
Bytes Filler(std::size_t size, int seed);
