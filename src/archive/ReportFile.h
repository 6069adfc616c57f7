#pragma once
// Writing a report's text to the file the user chose: a whole new file, never
// truncated in place, and never one of the archives the report is about.

#include <string>
#include <vector>

// Writes `text` as the whole content of `path`. An output that is one of
// `archives` (by any name) is refused; false after a message naming the file.
bool WriteReportFile(const std::string& path, const std::string& text,
                     const std::vector<std::string>& archives);
