#include "support/Messages.h"

#include <cstdarg>
#include <cstdio>
#include <system_error>
#include <vector>

#include "support/UserInterface.h"

std::string FormatTextV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    return text;
}

int ShowInfo(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatTextV(format, args);
    va_end(args);
    return CurrentUserInterface().ShowMessage(MessageKind::Info, text);
}

int ShowError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatTextV(format, args);
    va_end(args);
    return CurrentUserInterface().ShowMessage(MessageKind::Error, text);
}

bool AskYesNo(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatTextV(format, args);
    va_end(args);
    return CurrentUserInterface().AskYesNo(text);
}

int ShowErrorText(const std::string& text) {
    return CurrentUserInterface().ShowMessage(MessageKind::Error, text);
}

std::string SystemErrorText(int error) {
    return std::error_code(error, std::generic_category()).message();
}

namespace {

void ReportAbout(const char* what, const std::string& path, int error) {
    if (error == 0) {
        ShowError("%s [%s]", what, path.c_str());
    } else {
        ShowError("%s [%s]: %s", what, path.c_str(), SystemErrorText(error).c_str());
    }
}

}  // namespace

void ReportCreationError(const std::string& path, int error) {
    ReportAbout("Error on creating", path, error);
}
void ReportMissingFile(const std::string& path) {
    ShowError("[%s] Not found", path.c_str());
}
void ReportOpenError(const std::string& path, int error) {
    ReportAbout("Cannot open", path, error);
}
void ReportWriteError(const std::string& path, int error) {
    ReportAbout("Error on writing", path, error);
}
void ReportReadError(const std::string& path, int error) {
    ReportAbout("Error on reading", path, error);
}
void ReportReplaceError(const std::string& path, int error) {
    ReportAbout("Error on replacing", path, error);
}
void ReportBusyFile(const std::string& path) {
    ShowError("[%s] is being changed by another program", path.c_str());
}

void ReportOutOfMemory(const std::string& doing) {
    if (doing.empty()) {
        ShowError("%s", kNotEnoughMemory);
    } else {
        ShowError("%s\n%s", kNotEnoughMemory, doing.c_str());
    }
}

void ReportCreatedMeanwhile(const std::string& path) {
    ShowError("[%s] was created by another program meanwhile: nothing was written", path.c_str());
}
