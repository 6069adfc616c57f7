#include "cli/OutputFile.h"

#include <cerrno>

#include "support/Messages.h"
#include "support/SafeFileWriter.h"

bool WriteToStandardOutput(std::ostream& out, std::span<const std::uint8_t> bytes) {
    errno = 0;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (out) return true;
    ReportWriteError("standard output", errno);
    return false;
}

bool WriteOutputFile(std::ostream& out, const std::string& path,
                     std::span<const std::uint8_t> bytes) {
    if (IsStandardOutput(path)) return WriteToStandardOutput(out, bytes);
    return WriteWholeFile(path, bytes);
}
