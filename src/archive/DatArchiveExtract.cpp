// Copying items out of the archive into ordinary files.
#include "archive/ArchiveCommands.h"
#include "archive/DatArchive.h"
#include "support/DataFile.h"
#include "support/FileCopy.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/UserInterface.h"

bool DatArchive::WriteItem(const DatEntry& entry, const std::string& outputPath) {
    DataFile out;
    if (!out.Open(outputPath, "wb", true)) return false;
    if (!CopyFileRange(file, entry.offset, static_cast<std::uint64_t>(entry.size), out) ||
        !out.Close()) {
        ReportWriteError(outputPath);
        return false;
    }
    return true;
}

bool DatArchive::ExtractItem(int index, const std::string& outputPath) {
    if (!open_ || index < 0 || index >= ItemCount()) return false;
    WaitCursor wait;
    return WriteItem(Entry(index), outputPath);
}

bool DatArchive::UnpackAll(const std::string& folder, Progress& progress, int* failures) {
    if (!open_) return false;
    ProgressScope scope(progress, ItemCount());
    int failed = 0;
    for (const DatEntry& entry : directory_) {
        const std::string path = ItemPathInFolder(entry, folder);
        if (path.empty() || !WriteItem(entry, path)) ++failed;
        scope.Step();
    }
    if (failures) *failures = failed;
    return true;
}
