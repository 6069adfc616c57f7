#include "support/Paths.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "support/Text.h"

namespace fs = std::filesystem;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

char PathSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string AsFolder(std::string folder) {
    if (!folder.empty() && !IsSeparator(folder.back())) folder += PathSeparator();
    return folder;
}

std::string SplitPath(const std::string& path, int part, PathPieces* pieces) {
    const std::size_t driveLength = (path.size() >= 2 && path[1] == ':') ? 2 : 0;
    std::size_t nameStart = driveLength;
    for (std::size_t i = driveLength; i < path.size(); ++i) {
        if (IsSeparator(path[i])) nameStart = i + 1;
    }
    const std::size_t dot = path.rfind('.');
    const std::size_t extStart = (dot != std::string::npos && dot >= nameStart) ? dot : path.size();

    PathPieces split;
    split.folder = path.substr(0, nameStart);
    split.baseName = path.substr(nameStart, extStart - nameStart);
    split.extension = path.substr(extStart);
    if (pieces) *pieces = split;

    switch (part) {
        case kPathNone:
            return {};
        case kPathFolder:
            return split.folder;
        case kPathBaseName:
            return split.baseName;
        case kPathExtension:
            return split.extension;
        case kPathFileName:
            return split.baseName + split.extension;
        case kPathWithoutExt:
            return split.folder + split.baseName;
        default:
            return split.folder + split.baseName + split.extension;
    }
}

std::string ChangeExtension(const std::string& path, const std::string& extension) {
    return SplitPath(path, kPathWithoutExt) + extension;
}

std::string UpperExtension(const std::string& path) {
    return ToUpper(SplitPath(path, kPathExtension));
}

std::string ShortenPath(const std::string& path, std::size_t maximum, bool cutAtSeparator) {
    if (path.size() <= maximum) return path;
    const std::string head =
        (path.size() >= 2 && path[1] == ':') ? path.substr(0, 2) : std::string();
    std::string name = SplitPath(path, kPathFileName);
    if (name.empty() && !path.empty() && IsSeparator(path.back())) name.assign(1, '\\');
    const long budget = static_cast<long>(maximum) - 3 - static_cast<long>(head.size());
    if (budget < static_cast<long>(name.size())) return name;

    std::string tail;
    if (!cutAtSeparator) {
        tail = path.substr(path.size() - static_cast<std::size_t>(budget));
    } else {
        const std::size_t beforeName = path.size() - name.size();
        std::size_t from = std::string::npos;
        std::size_t lastSeparator = std::string::npos;
        for (std::size_t i = 0; i < beforeName; ++i) {
            if (!IsSeparator(path[i])) continue;
            lastSeparator = i;
            if (from == std::string::npos && static_cast<long>(path.size() - i) < budget) from = i;
        }
        if (from == std::string::npos)
            from = lastSeparator == std::string::npos ? beforeName : lastSeparator;
        tail = path.substr(from);
    }
    return head + ".." + tail;
}

std::string ProgramFolder() {
    std::error_code error;
#ifdef __linux__
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) return SplitPath(self.string(), kPathFolder);
#endif
    return AsFolder(fs::current_path(error).string());
}

bool Exists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::exists(fs::path(path), error);
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(fs::path(path), error);
    if (error) return std::nullopt;
    return size;
}

std::string TemporaryFolder() {
    std::error_code error;
    const fs::path folder = fs::temp_directory_path(error);
    return AsFolder(error ? std::string(".") : folder.string());
}
