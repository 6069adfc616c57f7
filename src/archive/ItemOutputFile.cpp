#include "archive/ItemOutputFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "support/Messages.h"
#include "support/Paths.h"

namespace {

// Scratch names start with a dot and end in neither ".s16" nor ".dat", so that
// nothing left by a crash is ever packed or listed as an archive.
std::string ScratchName(const std::string& targetPath) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::string folder = SplitPath(targetPath, kPathFolder);
    const std::string name = SplitPath(targetPath, kPathFileName);
    return FormatText("%s.%s.~%08x%06x", folder.c_str(), name.c_str(), seed, counter++ & 0xFFFFFFu);
}

}  // namespace

ItemOutputFile::~ItemOutputFile() {
    Abandon();
}

bool ItemOutputFile::Create() {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts && !created_; ++attempt) {
        // "x": created here or not at all, and a link at the name is not followed.
        created_ = scratch_.Open(ScratchName(targetPath_), "wbx", false);
        if (!created_ && errno != EEXIST) break;
    }
    if (!created_) ReportCreationError(targetPath_);
    return created_;
}

bool ItemOutputFile::Commit() {
    if (!created_) return false;
    if (scratch_.Failed() || !scratch_.Close()) {
        ReportWriteError(targetPath_);
        Abandon();
        return false;
    }
    // rename() replaces a link at the target's name and never writes through it.
    std::error_code error;
    std::filesystem::rename(scratch_.Path(), targetPath_, error);
    if (error) {
        ReportReplaceError(targetPath_);
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
