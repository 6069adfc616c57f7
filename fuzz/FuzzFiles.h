#pragma once
// Shared by the fuzz targets: a scratch file for the readers that take a path,
// and a user interface that shows nothing.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the input to a per-process scratch file with the given extension and
// returns its path.
std::string WriteFuzzInput(const std::uint8_t* data, std::size_t size,
                           const std::string& extension);
// Installs a user interface that swallows every message.
void SilenceMessages();
