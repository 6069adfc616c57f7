#include "support/DataFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

#include "support/ByteIo.h"
#include "support/Messages.h"

#ifdef _WIN32
#include <io.h>
namespace {
using SystemSize = int;
int SysOpen(const char* path, int flags) {
    return ::_open(path, flags, 0666);
}
long long SysRead(int fd, void* b, std::size_t n) {
    return ::_read(fd, b, static_cast<unsigned>(n));
}
long long SysWrite(int fd, const void* b, std::size_t n) {
    return ::_write(fd, b, static_cast<unsigned>(n));
}
long long SysSeek(int fd, long long to, int whence) {
    return ::_lseeki64(fd, to, whence);
}
long long SysReadAt(int fd, void* b, std::size_t n, long long at) {
    const long long here = ::_lseeki64(fd, 0, SEEK_CUR);
    if (here < 0 || ::_lseeki64(fd, at, SEEK_SET) < 0) return -1;
    const long long got = ::_read(fd, b, static_cast<unsigned>(n));
    ::_lseeki64(fd, here, SEEK_SET);
    return got;
}
int SysSync(int fd) {
    return ::_commit(fd);
}
int SysClose(int fd) {
    return ::_close(fd);
}
long long SysLength(int fd) {
    struct _stat64 status {};
    return ::_fstat64(fd, &status) == 0 ? status.st_size : -1;
}
constexpr int kBinary = _O_BINARY;
constexpr int kText = _O_TEXT;
constexpr int kCloseOnExec = _O_NOINHERIT;
constexpr std::size_t kMaxTransfer = 1u << 30;
}  // namespace
#else
#include <unistd.h>
namespace {
int SysOpen(const char* path, int flags) {
    return ::open(path, flags, 0666);
}
long long SysRead(int fd, void* b, std::size_t n) {
    return ::read(fd, b, n);
}
long long SysWrite(int fd, const void* b, std::size_t n) {
    return ::write(fd, b, n);
}
long long SysSeek(int fd, long long to, int whence) {
    return ::lseek(fd, to, whence);
}
long long SysReadAt(int fd, void* b, std::size_t n, long long at) {
    return ::pread(fd, b, n, static_cast<off_t>(at));
}
int SysSync(int fd) {
    return ::fsync(fd);
}
int SysClose(int fd) {
    return ::close(fd);
}
long long SysLength(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}
constexpr int kBinary = 0;
constexpr int kText = 0;
constexpr int kCloseOnExec = O_CLOEXEC;
constexpr std::size_t kMaxTransfer = 1u << 30;
}  // namespace
#endif

namespace {

// The open flags of a standard mode text; -1 for one this handle does not know.
// Appending is not offered: the position kept here would not follow the
// system's, and a copy made by the kernel at that position would land wrong.
int FlagsOfMode(const char* mode) {
    const bool update = std::strchr(mode, '+') != nullptr;
    const int text = std::strchr(mode, 't') ? kText : kBinary;
    int flags = -1;
    switch (mode[0]) {
        case 'r':
            flags = update ? O_RDWR : O_RDONLY;
            break;
        case 'w':
            flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
            break;
        default:
            return -1;
    }
    return flags | text | kCloseOnExec;
}

}  // namespace

DataFile::~DataFile() {
    if (fd_ >= 0) SysClose(fd_);
}

DataFile::DataFile(DataFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      position_(other.position_),
      failed_(other.failed_),
      error_(other.error_) {}

DataFile& DataFile::operator=(DataFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        position_ = other.position_;
        failed_ = other.failed_;
        error_ = other.error_;
    }
    return *this;
}

bool DataFile::Fail(int error) {
    error_ = error;
    return false;
}

void DataFile::MarkFailed(int error) {
    failed_ = true;
    if (error != 0) error_ = error;
}

bool DataFile::Open(const std::string& path, const char* mode, bool report) {
    Close();
    path_ = path;
    position_ = 0;
    failed_ = false;
    error_ = 0;
    const int flags = FlagsOfMode(mode);
    if (flags < 0) {
        error_ = EINVAL;
    } else {
        do {
            fd_ = SysOpen(path.c_str(), flags);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) error_ = errno;
    }
    if (fd_ < 0 && report) {
        if (mode[0] == 'r') {
            ReportOpenError(path);
        } else {
            ReportCreationError(path);
        }
    }
    return fd_ >= 0;
}

void DataFile::Adopt(int descriptor, const std::string& path) {
    Close();
    fd_ = descriptor;
    path_ = path;
    position_ = 0;
    failed_ = false;
    error_ = 0;
}

bool DataFile::Close() {
    if (fd_ < 0) return !failed_;
    if (SysClose(fd_) != 0 && errno != EINTR) MarkFailed(errno);
    fd_ = -1;
    return !failed_;
}

bool DataFile::Seek(std::uint64_t position) {
    if (fd_ < 0) return Fail(EBADF);
    if (SysSeek(fd_, static_cast<long long>(position), SEEK_SET) < 0) return Fail(errno);
    position_ = position;
    return true;
}

bool DataFile::SeekEnd() {
    if (fd_ < 0) return Fail(EBADF);
    const long long end = SysSeek(fd_, 0, SEEK_END);
    if (end < 0) return Fail(errno);
    position_ = static_cast<std::uint64_t>(end);
    return true;
}

std::uint64_t DataFile::Length() {
    if (fd_ < 0) return Fail(EBADF), 0;
    const long long length = SysLength(fd_);
    if (length < 0) return Fail(errno), 0;
    return static_cast<std::uint64_t>(length);
}

std::size_t DataFile::Read(void* buffer, std::size_t count) {
    if (fd_ < 0) return Fail(EBADF), 0;
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const long long got = SysRead(fd_, out + done, std::min(count - done, kMaxTransfer));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            Fail(errno);
            break;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    position_ += done;
    return done;
}

bool DataFile::ReadAt(std::uint64_t position, void* buffer, std::size_t count) {
    if (fd_ < 0) return Fail(EBADF);
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
        const long long got =
            SysReadAt(fd_, out, std::min(count, kMaxTransfer), static_cast<long long>(position));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Fail(errno);
        if (got == 0) return false;  // the file ends early
        out += got;
        position += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

bool DataFile::Write(const void* data, std::size_t count) {
    if (fd_ < 0) return Fail(EBADF);
    if (failed_) return false;
    const auto* in = static_cast<const char*>(data);
    while (count > 0) {
        const long long put = SysWrite(fd_, in, std::min(count, kMaxTransfer));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            MarkFailed(put < 0 ? errno : ENOSPC);
            return false;
        }
        in += put;
        position_ += static_cast<std::uint64_t>(put);
        count -= static_cast<std::size_t>(put);
    }
    return true;
}

bool DataFile::WriteU32(std::uint32_t value) {
    std::uint8_t bytes[4];
    StoreU32(bytes, value);
    return Write(bytes, sizeof bytes);
}

bool DataFile::SyncToDisk() {
    if (fd_ < 0) return Fail(EBADF);
    if (failed_) return false;
    if (SysSync(fd_) != 0) MarkFailed(errno);
    return !failed_;
}
