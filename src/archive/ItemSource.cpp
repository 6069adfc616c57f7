#include "archive/ItemSource.h"

#include "support/DataFile.h"
#include "support/Messages.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <filesystem>
#include <system_error>
#endif

namespace {

void ReportNotRegular(const std::string& path) {
    ShowError("[%s] is not a regular file: only regular files can be stored", path.c_str());
}

}  // namespace

#ifndef _WIN32

std::optional<std::uint64_t> CheckItemSource(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        ReportOpenError(path);
        return std::nullopt;
    }
    struct stat status {};
    bool ok = ::fstat(fd, &status) == 0;
    if (!ok) {
        ShowError("Error on reading [%s]", path.c_str());
    } else if (!S_ISREG(status.st_mode)) {
        ReportNotRegular(path);
        ok = false;
    } else if (status.st_size == 0) {
        // Files made up by the system (under /proc) state no size but have content.
        char probe = 0;
        const ssize_t got = ::read(fd, &probe, 1);
        if (got != 0) {
            if (got < 0) {
                ReportReadError(path, errno);
            } else {
                ReportNotRegular(path);
            }
            ok = false;
        }
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

bool OpenItemSource(const std::string& path, std::uint64_t size, DataFile& source) {
    if (!source.Open(path, "rb", true)) return false;
    struct stat status {};
    if (::fstat(source.Descriptor(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uint64_t>(status.st_size) != size) {
        ShowError("[%s] changed while the archive was written", path.c_str());
        source.Close();
        return false;
    }
    return true;
}

#else

std::optional<std::uint64_t> CheckItemSource(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        if (std::filesystem::exists(path, error)) {
            ReportNotRegular(path);
        } else {
            ReportOpenError(path);
        }
        return std::nullopt;
    }
    DataFile probe;
    if (!probe.Open(path, "rb", true)) return std::nullopt;
    return probe.Length();
}

bool OpenItemSource(const std::string& path, std::uint64_t size, DataFile& source) {
    if (!source.Open(path, "rb", true)) return false;
    if (source.Length() != size) {
        ShowError("[%s] changed while the archive was written", path.c_str());
        source.Close();
        return false;
    }
    return true;
}

#endif
