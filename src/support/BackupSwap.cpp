#include "support/BackupSwap.h"

#include "support/DataFile.h"
#include "support/FileCopy.h"
#include "support/Messages.h"
#include "support/SafeFileWriter.h"

bool SwapWithBackup(const std::string& path, const std::string& backupPath) {
    DataFile backup;
    if (!backup.Open(backupPath, "rb", false)) {
        ReportReadError(backupPath, backup.Error());
        return false;
    }
    const std::uint64_t length = backup.Length();
    if (length == 0 && backup.Error() != 0) {
        ReportReadError(backupPath, backup.Error());
        return false;
    }
    // The writer keeps what is at `path` now under the backup's name, once the
    // backup's content is complete in the scratch file.
    SafeFileWriter writer(path, backupPath);
    if (!writer.Create()) return false;
    if (!CopyFileRange(backup, 0, length, writer.File())) {
        if (writer.File().Failed()) {
            ReportWriteError(path, writer.File().Error());
        } else {
            ReportReadError(backupPath, backup.Error());
        }
        return false;
    }
    backup.Close();
    return writer.Commit();
}
