#include "archive/ItemOutputFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "archive/ItemNames.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/ScratchFile.h"

ItemOutputFile::~ItemOutputFile() {
    Abandon();
}

bool ItemOutputFile::Create() {
    // Made here or not at all, and a link at the scratch name is never followed;
    // the name starts with a dot so that nothing left by a crash is ever packed.
    std::string scratchPath;
    const int fd = CreateScratchFile(SplitPath(targetPath_, kPathFolder),
                                     SplitPath(targetPath_, kPathFileName), 0666, scratchPath);
    if (fd < 0) {
        const int reason = errno;
        ReportCreationError(PrintableName(targetPath_), reason);
        return false;
    }
    scratch_.Adopt(fd, scratchPath);
    created_ = true;
    return true;
}

bool ItemOutputFile::Commit() {
    if (!created_) return false;
    if (scratch_.Failed() || !scratch_.Close()) {
        ReportWriteError(PrintableName(targetPath_), scratch_.Error());
        Abandon();
        return false;
    }
    // rename() replaces a link at the target's name and never writes through it.
    std::error_code error;
    std::filesystem::rename(scratch_.Path(), targetPath_, error);
    if (error) {
        ReportReplaceError(PrintableName(targetPath_), error.value());
        Abandon();
        return false;
    }
    created_ = false;
    return true;
}

void ItemOutputFile::Abandon() {
    if (!created_) return;
    scratch_.Close();
    std::remove(scratch_.Path().c_str());
    created_ = false;
}
