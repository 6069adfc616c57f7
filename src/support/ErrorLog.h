#pragma once
// Collects the complaints of a long operation into "Err_<name>.LOG" beside its
// target. The file is created on the first line, so a clean run leaves none,
// and it is shown when the log is finished.

#include <string>

#include "support/DataFile.h"
#include "support/Messages.h"

class ErrorLog {
public:
    ErrorLog() = default;
    ~ErrorLog() { file_.Close(); }
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    // Starts a log for `targetPath`; a log still open is finished and shown first.
    void Start(const std::string& targetPath);
    // Writes one line; without a started log the line is shown as an error box.
    void AddLine(const std::string& text);
    void Printf(const char* format, ...) VARNOK_PRINTF(2, 3);
    // Closes the log and, with `show`, opens it when it holds lines.
    void Finish(bool show);

    bool Enabled() const { return enabled_; }
    const std::string& LogPath() const { return logPath_; }
    int LineCount() const { return lineCount_; }

private:
    bool OpenLogFile();

    bool enabled_ = false;
    std::string logPath_;
    DataFile file_;
    int lineCount_ = 0;
};
