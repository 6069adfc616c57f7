#pragma once
// New files under names nobody else uses: "." + a name + a random part +
// ".tmp" in a given folder, created exclusively, so that an existing file or
// symbolic link of such a name is never opened, followed or truncated.

#include <cstdint>
#include <span>
#include <string>

// Creates the file for reading and writing with permissions `mode` (the umask
// applies) and returns its descriptor; -1 with `errno` set on failure. `path`
// receives the name made (folder included).
int CreateScratchFile(const std::string& folder, const std::string& nameHint, unsigned mode,
                      std::string& path);

// A name of the same form that did not exist when asked, for a file the
// system creates by itself exclusively (a hard link, say). Callers retry on
// "already exists".
std::string ScratchName(const std::string& folder, const std::string& nameHint);

// A new private scratch file in `folder` holding `bytes`, written through the
// descriptor that created it (for files of the program's own, such as a
// preview in the temporary folder). `path` receives its name. On failure
// reports "Error on creating [%s]" or "Error on writing [%s]" with the reason,
// leaves no file behind and returns false.
bool WriteScratchFile(const std::string& folder, const std::string& nameHint,
                      std::span<const std::uint8_t> bytes, std::string& path);
