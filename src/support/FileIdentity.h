#pragma once
// Which file a name or an open handle stands for (device and inode), so that
// two names of one file, links included, are recognised as one file.

#include <cstdint>
#include <string>

class DataFile;

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known = false;

    // Follows symbolic links; not known when the file cannot be examined.
    static FileIdentity OfPath(const std::string& path);
    static FileIdentity OfOpenFile(const DataFile& file);

    // Two unknown identities are never the same file.
    bool operator==(const FileIdentity& other) const {
        return known && other.known && device == other.device && inode == other.inode;
    }
};

// True when both names lead to one existing file.
bool IsSameFile(const std::string& a, const std::string& b);
