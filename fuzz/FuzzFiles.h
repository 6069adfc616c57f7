#pragma once
// The readers take paths, so each fuzz input is written to a scratch file first.

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the input to a per-process scratch file with the given extension and
// returns its path.
std::string WriteFuzzInput(const std::uint8_t* data, std::size_t size,
                           const std::string& extension);
// Installs a user interface that swallows every message.
void SilenceMessages();
