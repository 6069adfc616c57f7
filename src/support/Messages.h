#pragma once
// Message boxes built from printf-style formats, shown through the current
// UserInterface, and the few fixed messages that several parts share.

#include <cstdarg>
#include <string>

#if defined(__GNUC__)
#define VARNOK_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define VARNOK_PRINTF(fmt, args)
#endif

// Formats like printf into a std::string.
std::string FormatText(const char* format, ...) VARNOK_PRINTF(1, 2);
std::string FormatTextV(const char* format, va_list args);

int ShowInfo(const char* format, ...) VARNOK_PRINTF(1, 2);
int ShowError(const char* format, ...) VARNOK_PRINTF(1, 2);
bool AskYesNo(const char* format, ...) VARNOK_PRINTF(1, 2);
// Shows the text unchanged (no formatting) in an error box.
int ShowErrorText(const std::string& text);

// With a system error number other than 0, the messages end in ": " and the
// system's reason ("Error on writing [a.dat]: No space left on device").
void ReportCreationError(const std::string& path, int error = 0);  // "Error on creating [%s]"
void ReportMissingFile(const std::string& path);                   // "[%s] Not found"
void ReportOpenError(const std::string& path, int error = 0);      // "Cannot open [%s]"
void ReportWriteError(const std::string& path, int error = 0);     // "Error on writing [%s]"
void ReportReadError(const std::string& path, int error = 0);      // "Error on reading [%s]"
void ReportReplaceError(const std::string& path, int error = 0);   // "Error on replacing [%s]"
// "[%s] is being changed by another program"
void ReportBusyFile(const std::string& path);
// "[%s] was created by another program meanwhile: nothing was written"
void ReportCreatedMeanwhile(const std::string& path);
// The system's text for an error number ("No space left on device").
std::string SystemErrorText(int error);

// " Not enough  memory " exactly, spaces included.
inline constexpr const char* kNotEnoughMemory = " Not enough  memory ";
// Shows kNotEnoughMemory, followed on a line of its own by what was being
// done (naming the file) when `doing` is not empty.
void ReportOutOfMemory(const std::string& doing);
