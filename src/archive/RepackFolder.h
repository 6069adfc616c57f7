#pragma once
// Packing every .s16 file of a folder into a new, sorted archive.

#include <string>

class DurabilityBatch;
class ErrorLog;
class Progress;
struct PlannedChange;

// Packs the .s16 files of the new archive's own folder into `newArchivePath`.
// Files that cannot go in (names over 12 characters, executables) are written
// to `log`. The archive appears at its path only when complete: a file that
// cannot be read stops the repack and nothing is left behind. With `batch`,
// the archive is left for the batch to flush. With `planOnly`, nothing is
// written: it receives what the repack would change (the items of an archive
// already at the path count as the items before).
bool RepackFolder(const std::string& newArchivePath, ErrorLog& log, Progress& progress,
                  DurabilityBatch* batch = nullptr, PlannedChange* planOnly = nullptr);
