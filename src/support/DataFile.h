#pragma once
// A binary or text file handle that remembers its path and closes itself.
// Every transfer goes straight to the system (no hidden buffer), so a failure
// is seen at the call that caused it, with the system's reason in `Error()`.
// Positions and sizes are 64-bit; a failed write makes the handle `Failed()`.

#include <cstdint>
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

    // Opens `path` with a standard mode text ("rb", "wb", "r+b", "w+b", "wt";
    // no appending modes). With `report`, a failure shows "Cannot open [%s]" for reading
    // modes and "Error on creating [%s]" for the others.
    bool Open(const std::string& path, const char* mode, bool report);
    // Takes over an open descriptor (read and write); `path` is the name that
    // messages give, which need not be where the descriptor was opened.
    void Adopt(int descriptor, const std::string& path);
    // Closes the file; false when the system reports that data were lost.
    bool Close();

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    int Descriptor() const { return fd_; }
    bool Failed() const { return failed_; }
    // The system's error number of the last failed call (0 when none failed).
    int Error() const { return error_; }
    // Records a write that failed outside this handle (a copy made by the system).
    void MarkFailed(int error = 0);

    bool Seek(std::uint64_t position);
    bool SeekEnd();
    // The position as this handle keeps it; no system call, so it cannot fail.
    std::uint64_t Tell() const { return position_; }
    // Length of the file as it stands now; 0 (with `Error()` set) on failure.
    std::uint64_t Length();

    // Reads up to `count` bytes; returns how many arrived. Fewer than asked
    // means the end of the file, or a read error when `Error()` is set.
    std::size_t Read(void* buffer, std::size_t count);
    // Reads exactly `count` bytes at `position`; false on a short read. The
    // handle's position is left where it was.
    bool ReadAt(std::uint64_t position, void* buffer, std::size_t count);
    bool Write(const void* data, std::size_t count);
    bool WriteText(const std::string& text) { return Write(text.data(), text.size()); }
    bool WriteU32(std::uint32_t value);

    // Nothing is buffered here: true unless a write failed.
    bool Flush() const { return fd_ >= 0 && !failed_; }
    // Makes the written data survive a crash of the machine.
    bool SyncToDisk();

private:
    bool Fail(int error);

    int fd_ = -1;
    std::string path_;
    std::uint64_t position_ = 0;
    bool failed_ = false;
    int error_ = 0;
};
