#include "support/DurabilityBatch.h"

#include <cerrno>
#include <cstdio>
#include <set>
#include <utility>

#include <sys/stat.h>

#include "support/DataFile.h"
#include "support/FolderSync.h"
#include "support/Messages.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Flushes the folder (and on Linux its whole file system, unless `synced`
// already holds it); 0 or the system's error.
int SyncFolder(const std::string& folder, [[maybe_unused]] std::set<unsigned long long>& synced) {
#ifdef __linux__
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat status {};
    const bool known = ::fstat(fd, &status) == 0;
    const bool firstOfItsFileSystem =
        known && synced.insert(static_cast<unsigned long long>(status.st_dev)).second;
    const int error = (!known || (firstOfItsFileSystem && ::syncfs(fd) != 0)) ? errno : 0;
    ::close(fd);
    return error;
#else
    return FlushFolder(folder);
#endif
}

#ifndef __linux__
// Where one call cannot flush a file system, each file is flushed on its own.
int SyncFile(const std::string& path) {
    DataFile file;
    if (!file.Open(path, "rb", false)) return file.Error();  // a flush needs no write access
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
