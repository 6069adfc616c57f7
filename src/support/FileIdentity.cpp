#include "support/FileIdentity.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "support/DataFile.h"

namespace {

[[maybe_unused]] FileIdentity FromStatus(const struct stat& status) {
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                        static_cast<std::uint64_t>(status.st_ino), true};
}

}  // namespace

#ifdef _WIN32
// The C library gives no inode here; the file system library compares names.
FileIdentity FileIdentity::OfPath(const std::string&) {
    return {};
}
FileIdentity FileIdentity::OfOpenFile(const DataFile&) {
    return {};
}
bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}
#else
FileIdentity FileIdentity::OfPath(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {};
    return FromStatus(status);
}

FileIdentity FileIdentity::OfOpenFile(const DataFile& file) {
    struct stat status {};
    if (!file.IsOpen() || ::fstat(file.Descriptor(), &status) != 0) return {};
    return FromStatus(status);
}

bool IsSameFile(const std::string& a, const std::string& b) {
    return FileIdentity::OfPath(a) == FileIdentity::OfPath(b);
}
#endif
