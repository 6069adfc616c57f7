#include "support/ScratchFile.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>

#include <fcntl.h>

#include "support/DataFile.h"
#include "support/Messages.h"

#ifndef _WIN32
#include <unistd.h>
#else
#include <io.h>
#endif

namespace {

constexpr int kAttempts = 100;
// Keeps the whole name within the usual 255-byte limit of a file name.
constexpr std::size_t kMaxHint = 200;

std::string RandomPart() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 generator = [] {
        std::random_device device;
        std::seed_seq seed{
            device(), device(),
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
        return std::mt19937_64(seed);
    }();
    std::string part(8, 'x');
    for (char& c : part)
        c = kLetters[generator() % (sizeof kLetters - 1)];
    return part;
}

}  // namespace

std::string ScratchName(const std::string& folder, const std::string& nameHint) {
    std::string folderPart = folder;
    if (!folderPart.empty() && folderPart.back() != '/' && folderPart.back() != '\\')
        folderPart += '/';
    return folderPart + "." + nameHint.substr(0, kMaxHint) + "." + RandomPart() + ".tmp";
}

int CreateScratchFile(const std::string& folder, const std::string& nameHint, unsigned mode,
                      std::string& path) {
#ifndef _WIN32
    constexpr int kFlags = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
#else
    constexpr int kFlags = O_RDWR | O_CREAT | O_EXCL | O_BINARY | O_NOINHERIT;
#endif
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        path = ScratchName(folder, nameHint);
        const int fd = ::open(path.c_str(), kFlags, static_cast<int>(mode));
        if (fd >= 0) return fd;
        if (errno != EEXIST && errno != EINTR) return -1;
    }
    errno = EEXIST;
    return -1;
}

bool WriteScratchFile(const std::string& folder, const std::string& nameHint,
                      std::span<const std::uint8_t> bytes, std::string& path) {
    const int fd = CreateScratchFile(folder, nameHint, 0600, path);
    if (fd < 0) {
        ReportCreationError(path, errno);
        path.clear();
        return false;
    }
    DataFile file;
    file.Adopt(fd, path);
    if (file.Write(bytes.data(), bytes.size()) && file.Close()) return true;
    ReportWriteError(path, file.Error());
    file.Close();
    std::remove(path.c_str());
    path.clear();
    return false;
}
