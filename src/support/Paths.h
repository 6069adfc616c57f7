#pragma once
// Path splitting and joining. Both "\" and "/" separate folders; a drive is the
// first two characters when the second is ":". Folder values end in a separator
// and file names are appended to them directly.

#include <cstdint>
#include <optional>
#include <string>

enum PathPart : int {
    kPathNone = -1,
    kPathFolder = 0,      // drive and directory, ending in a separator
    kPathBaseName = 1,    // name without extension
    kPathExtension = 2,   // extension with its dot
    kPathFileName = 3,    // base name and extension
    kPathWithoutExt = 4,  // drive, directory and base name
    kPathWhole = 5,       // everything joined again
};

struct PathPieces {
    std::string folder;
    std::string baseName;
    std::string extension;
};

std::string SplitPath(const std::string& path, int part, PathPieces* pieces = nullptr);
std::string ChangeExtension(const std::string& path, const std::string& extension);
std::string UpperExtension(const std::string& path);
std::string ShortenPath(const std::string& path, std::size_t maximum, bool cutAtSeparator);

// The platform's folder separator, which folder values chosen here end in.
char PathSeparator();
bool IsSeparator(char c);
// Appends the platform separator unless the folder already ends in one.
std::string AsFolder(std::string folder);

std::string ProgramFolder();
bool Exists(const std::string& path);
// Size of the file; nothing when there is no file to measure.
std::optional<std::uint64_t> FileSize(const std::string& path);
// The system's folder for scratch files, ending in a separator.
std::string TemporaryFolder();
