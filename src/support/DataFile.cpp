#include "support/DataFile.h"

#include <cstring>
#include <utility>

#include "support/ByteIo.h"
#include "support/Messages.h"

#ifdef _WIN32
#include <io.h>
#define VARNOK_FSEEK _fseeki64
#define VARNOK_FTELL _ftelli64
#else
#include <sys/stat.h>
#include <unistd.h>
#define VARNOK_FSEEK fseeko
#define VARNOK_FTELL ftello
#endif

DataFile::~DataFile() {
    if (file_) std::fclose(file_);
}

DataFile::DataFile(DataFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      path_(std::move(other.path_)),
      failed_(other.failed_) {}

DataFile& DataFile::operator=(DataFile&& other) noexcept {
    if (this != &other) {
        Close();
        file_ = std::exchange(other.file_, nullptr);
        path_ = std::move(other.path_);
        failed_ = other.failed_;
    }
    return *this;
}

bool DataFile::Open(const std::string& path, const char* mode, bool report) {
    Close();
    path_ = path;
    failed_ = false;
    file_ = std::fopen(path.c_str(), mode);
    if (!file_ && report) {
        if (std::strpbrk(mode, "rR")) {
            ReportOpenError(path);
        } else {
            ReportCreationError(path);
        }
    }
    return file_ != nullptr;
}

bool DataFile::Close() {
    if (!file_) return true;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok) failed_ = true;
    return ok && !failed_;
}

bool DataFile::Seek(std::uint64_t position) {
    return file_ && VARNOK_FSEEK(file_, static_cast<long long>(position), SEEK_SET) == 0;
}

bool DataFile::SeekEnd() {
    return file_ && VARNOK_FSEEK(file_, 0, SEEK_END) == 0;
}

std::uint64_t DataFile::Tell() const {
    if (!file_) return 0;
    const auto position = VARNOK_FTELL(file_);
    return position < 0 ? 0 : static_cast<std::uint64_t>(position);
}

std::uint64_t DataFile::Length() {
    if (!file_) return 0;
#ifndef _WIN32
    struct stat status {};
    if (std::fflush(file_) == 0 && ::fstat(fileno(file_), &status) == 0)
        return static_cast<std::uint64_t>(status.st_size);
#endif
    const std::uint64_t here = Tell();
    if (!SeekEnd()) return 0;
    const std::uint64_t length = Tell();
    Seek(here);
    return length;
}

std::size_t DataFile::Read(void* buffer, std::size_t count) {
    if (!file_ || count == 0) return 0;
    return std::fread(buffer, 1, count, file_);
}

bool DataFile::ReadAt(std::uint64_t position, void* buffer, std::size_t count) {
#ifndef _WIN32
    // One system call, and the stream's own position and buffer stay as they were.
    if (!file_) return false;
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
        const ssize_t got = ::pread(fileno(file_), out, count, static_cast<off_t>(position));
        if (got <= 0) return false;
        out += got;
        position += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
    return true;
#else
    return Seek(position) && Read(buffer, count) == count;
#endif
}

bool DataFile::Write(const void* data, std::size_t count) {
    if (!file_) return false;
    if (count > 0 && std::fwrite(data, 1, count, file_) != count) failed_ = true;
    return !failed_;
}

bool DataFile::WriteU32(std::uint32_t value) {
    std::uint8_t bytes[4];
    StoreU32(bytes, value);
    return Write(bytes, sizeof bytes);
}

bool DataFile::Flush() {
    if (!file_ || std::fflush(file_) != 0) failed_ = true;
    return !failed_;
}

bool DataFile::SyncToDisk() {
    if (!Flush()) return false;
#ifdef _WIN32
    if (_commit(_fileno(file_)) != 0) failed_ = true;
#else
    if (::fsync(fileno(file_)) != 0) failed_ = true;
#endif
    return !failed_;
}
