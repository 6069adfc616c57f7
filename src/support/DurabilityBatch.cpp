#include "support/DurabilityBatch.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <utility>

#include <sys/stat.h>

#include "support/DataFile.h"
#include "support/Messages.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string FolderOf(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? std::string(1, '.') : folder;
}

// Flushes the folder (and on Linux its whole file system, unless `synced`
// already holds it); 0 or the system's error.
int SyncFolder(const std::string& folder, [[maybe_unused]] std::set<unsigned long long>& synced) {
#ifndef _WIN32
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
#ifdef __linux__
    struct stat status {};
    const bool known = ::fstat(fd, &status) == 0;
    const bool firstOfItsFileSystem =
        known && synced.insert(static_cast<unsigned long long>(status.st_dev)).second;
    if (!known || (firstOfItsFileSystem && ::syncfs(fd) != 0)) error = errno;
#else
    if (::fsync(fd) != 0) error = errno;
#endif
    ::close(fd);
    return error;
#else
    (void)folder;
    return 0;
#endif
}

#ifndef __linux__
// Where one call cannot flush a file system, each file is flushed on its own.
int SyncFile(const std::string& path) {
    DataFile file;
    if (!file.Open(path, "r+b", false)) return file.Error();
    if (!file.SyncToDisk()) return file.Error() != 0 ? file.Error() : EIO;
    return file.Close() ? 0 : (file.Error() != 0 ? file.Error() : EIO);
}
#endif

}  // namespace

void DurabilityBatch::Add(const std::string& path, bool created) {
    files_.push_back({path, created});
}

bool DurabilityBatch::MakeDurable() {
    std::vector<Placed> files = std::move(files_);
    files_.clear();
    std::string failed;
    int error = 0;
#ifndef __linux__
    for (const Placed& file : files) {
        error = SyncFile(file.path);
        if (error != 0) {
            failed = file.path;
            break;
        }
    }
#endif
    std::set<std::string> folders;
    for (const Placed& file : files)
        folders.insert(FolderOf(file.path));
    std::set<unsigned long long> synced;
    for (auto folder = folders.begin(); error == 0 && folder != folders.end(); ++folder) {
        error = SyncFolder(*folder, synced);
        if (error != 0) failed = *folder;
    }
    if (error == 0) return true;
    ReportWriteError(failed, error);
    for (const Placed& file : files) {
        if (file.created) std::remove(file.path.c_str());
    }
    return false;
}
