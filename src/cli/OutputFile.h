#pragma once
// The one file a command writes, or standard output when the user names it
// "-": commands that write one file take their bytes through here, so that
// every one of them can write into a pipe and checks the write alike.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

// The name that stands for standard output.
inline constexpr const char* kStandardOutputName = "-";

inline bool IsStandardOutput(const std::string& path) {
    return path == kStandardOutputName;
}

// Writes `bytes` to `out`, flushed; false, after "Error on writing [standard
// output]" with the system's reason, when they did not all arrive.
bool WriteToStandardOutput(std::ostream& out, std::span<const std::uint8_t> bytes);

// Writes `bytes` to `out` when `path` is "-", else as the whole new content of
// the file `path` (a scratch file renamed into place). False after a message
// naming the file or standard output.
bool WriteOutputFile(std::ostream& out, const std::string& path,
                     std::span<const std::uint8_t> bytes);
