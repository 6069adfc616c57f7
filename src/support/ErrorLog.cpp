#include "support/ErrorLog.h"

#include <cstdarg>
#include <filesystem>
#include <system_error>

#include "support/Paths.h"
#include "support/UserInterface.h"

void ErrorLog::Start(const std::string& targetPath) {
    if (file_.IsOpen()) Finish(true);
    lineCount_ = 0;
    PathPieces pieces;
    SplitPath(targetPath, kPathWhole, &pieces);
    logPath_ = targetPath.empty()
                   ? std::string()
                   : FormatText("%sErr_%s.LOG", pieces.folder.c_str(), pieces.baseName.c_str());
    enabled_ = !logPath_.empty();
}

bool ErrorLog::OpenLogFile() {
    if (!enabled_) return false;
    const std::string folder = SplitPath(logPath_, kPathFolder);
    if (!folder.empty() && !Exists(folder)) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    if (!file_.Open(logPath_, "wt", false)) {
        ReportCreationError(logPath_);
        return false;
    }
    return true;
}

void ErrorLog::AddLine(const std::string& text) {
    if (!enabled_) {
        ShowErrorText(text);
        return;
    }
    if (!file_.IsOpen() && !OpenLogFile()) return;
    file_.WriteText(text);
    file_.WriteText("\n");
    ++lineCount_;
}

void ErrorLog::Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatTextV(format, args);
    va_end(args);
    AddLine(text);
}

void ErrorLog::Finish(bool show) {
    file_.Close();
    if (show && enabled_ && lineCount_ > 0) CurrentUserInterface().ShowTextFile(logPath_);
    enabled_ = false;
}
