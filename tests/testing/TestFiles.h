#pragma once
// Scratch folders and whole-file helpers for tests.

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in a separator.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);
std::vector<std::string> FolderListing(const std::string& folder);
// Runs a shell command; true when it exited 0.
bool RunShell(const std::string& command);
bool HaveProgram(const std::string& path);

void PutU16(Bytes& out, std::uint16_t v);
void PutU32(Bytes& out, std::uint32_t v);
std::uint32_t GetU32(const Bytes& in, std::size_t at);
std::uint16_t GetU16(const Bytes& in, std::size_t at);
