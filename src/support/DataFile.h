#pragma once
// A binary or text file handle that remembers its path and closes itself.
// Positions and sizes are 64-bit; every read and write reports whether it
// transferred everything, and a failed write makes the handle `Failed()`.

#include <cstdint>
#include <cstdio>
#include <string>

class DataFile {
public:
    DataFile() = default;
    DataFile(const std::string& path, const char* mode) { Open(path, mode, false); }
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    DataFile(DataFile&& other) noexcept;
    DataFile& operator=(DataFile&& other) noexcept;

    // Opens `path` with a standard mode text ("rb", "wb", "r+b", "w+b", "wt").
    // With `report`, a failure shows "Cannot open [%s]" for reading modes and
    // "Error on creating [%s]" for the others.
    bool Open(const std::string& path, const char* mode, bool report);
    // Closes the file; false when buffered data could not be written.
    bool Close();

    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    std::FILE* Handle() const { return file_; }
    bool Failed() const { return failed_; }
    // Records a write that failed outside this handle (a copy made by the system).
    void MarkFailed() { failed_ = true; }

    bool Seek(std::uint64_t position);
    bool SeekEnd();
    std::uint64_t Tell() const;
    // Length of the file as it stands now (buffered writes included).
    std::uint64_t Length();

    // Reads up to `count` bytes; returns how many arrived.
    std::size_t Read(void* buffer, std::size_t count);
    // Reads exactly `count` bytes at `position`; false on a short read. Where
    // the system allows it, the stream's position is left where it was.
    bool ReadAt(std::uint64_t position, void* buffer, std::size_t count);
    bool Write(const void* data, std::size_t count);
    bool WriteText(const std::string& text) { return Write(text.data(), text.size()); }
    bool WriteU32(std::uint32_t value);

    // Pushes buffered data to the system and then to the disk.
    bool Flush();
    bool SyncToDisk();

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    bool failed_ = false;
};
