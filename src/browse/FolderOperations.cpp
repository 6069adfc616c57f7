#include "browse/FolderOperations.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "support/Messages.h"
#include "support/Paths.h"

namespace fs = std::filesystem;

namespace {

fs::path Normal(const std::string& folder) {
    std::error_code ignored;
    fs::path path = fs::weakly_canonical(fs::path(folder), ignored);
    if (!path.has_filename()) path = path.parent_path();
    return path;
}

// Where the home trash's "files" folder would be, or empty when the desktop's
// data folder is not an absolute path (the trash would then be made in the
// working folder).
fs::path HomeTrashFiles() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const fs::path base(data.toStdString());
    if (data.isEmpty() || !base.is_absolute()) return {};
    return base / "Trash" / "files";
}

// A path in a trash: ".../Trash/files/NAME", ".../.Trash-UID/files/NAME" or
// ".../.Trash/UID/files/NAME", always absolute.
bool IsInTrash(const fs::path& path) {
    if (!path.is_absolute() || path.parent_path().filename() != "files") return false;
    const fs::path trash = path.parent_path().parent_path();
    const std::string name = trash.filename().string();
    return name == "Trash" || name.rfind(".Trash-", 0) == 0 ||
           trash.parent_path().filename() == ".Trash";
}

// Qt moves a file into "files/" and "info/" of the working folder, and calls
// that success, when it cannot establish a trash: that is refused here, and
// anything moved elsewhere than into a trash is put back.
enum class TrashMove { kDone, kRefused, kMisplaced };
TrashMove MoveToTrash(const fs::path& path, std::string& misplaced) {
    if (HomeTrashFiles().empty()) return TrashMove::kRefused;
    QString where;
    if (!QFile::moveToTrash(QString::fromStdString(path.string()), &where))
        return TrashMove::kRefused;
    const fs::path moved(where.toStdString());
    if (IsInTrash(moved)) return TrashMove::kDone;
    std::error_code error;
    fs::rename(moved, path, error);
    misplaced = fs::absolute(moved, error).string();
    return error ? TrashMove::kMisplaced : TrashMove::kRefused;
}

}  // namespace

bool CreateNewFolder(const std::string& parent, std::string& created) {
    created = AsFolder(parent) + "NewFolder";
    std::error_code error;
    if (!fs::create_directory(created, error)) {
        ShowError("Error on creating folder\n%s\ntry another name\n", created.c_str());
        return false;
    }
    return true;
}

bool RenameFolder(const std::string& folder, const std::string& newName, std::string& renamed) {
    const fs::path from = Normal(folder);
    renamed = (from.parent_path() / newName).string();
    std::error_code error;
    if (newName.empty() || fs::exists(renamed, error)) return false;
    fs::rename(from, renamed, error);
    return !error;
}

bool DeleteFolder(const std::string& folder, bool permanently) {
    const fs::path path = Normal(folder);
    if (permanently) {
        std::error_code error;
        if (fs::remove_all(path, error) > 0 && !error) return true;
        ShowError("Cannot remove [%s]", folder.c_str());
        return false;
    }
    std::string misplaced;
    switch (MoveToTrash(path, misplaced)) {
        case TrashMove::kDone:
            return true;
        case TrashMove::kRefused:
            ShowError("Cannot move [%s] to the trash: nothing was deleted", folder.c_str());
            return false;
        case TrashMove::kMisplaced:
            ShowError("Cannot move [%s] to the trash: it is now [%s]", folder.c_str(),
                      misplaced.c_str());
            return false;
    }
    return false;
}

bool CanDropFolder(const std::string& folder, const std::string& target) {
    const fs::path source = Normal(folder);
    const fs::path into = Normal(target);
    if (source == into || source.parent_path() == into || !fs::is_directory(into)) return false;
    // A folder cannot go inside itself.
    const auto [end, _] = std::mismatch(source.begin(), source.end(), into.begin(), into.end());
    return end != source.end();
}

bool DropFolder(const std::string& folder, const std::string& target, bool copy) {
    if (!CanDropFolder(folder, target)) return false;
    const fs::path source = Normal(folder);
    const fs::path destination = Normal(target) / source.filename();
    std::error_code error;
    if (fs::exists(destination, error)) return false;
    if (copy) {
        fs::copy(source, destination, fs::copy_options::recursive, error);
    } else {
        fs::rename(source, destination, error);
    }
    return !error;
}

std::string FolderProperties(const std::string& folder) {
    std::uintmax_t bytes = 0;
    int files = 0, folders = 0;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored)) {
            ++folders;
        } else {
            ++files;
            bytes += it->file_size(ignored);
        }
    }
    const QFileInfo info(QString::fromStdString(folder));
    return FormatText("%s\n\n%d files in %d folders, %llu bytes\nCreated: %s\nModified: %s",
                      folder.c_str(), files, folders, static_cast<unsigned long long>(bytes),
                      info.birthTime().toString(Qt::ISODate).toStdString().c_str(),
                      info.lastModified().toString(Qt::ISODate).toStdString().c_str());
}

TypedFolder CheckTypedFolder(const std::string& text, const std::string& base) {
    TypedFolder result;
    if (text.empty() || text.find('\0') != std::string::npos) return result;
    fs::path path(text);
    if (path.is_relative()) {
        if (base.empty()) return result;
        path = fs::path(base) / path;
    }
    path = path.lexically_normal();
    result.folder = AsFolder(Normal(path.string()).string());
    std::error_code error;
    // The nearest part of the path that exists must be a folder.
    for (fs::path part = Normal(path.string()); !part.empty(); part = part.parent_path()) {
        const fs::file_status status = fs::status(part, error);
        if (fs::exists(status)) {
            if (!fs::is_directory(status)) return result;
            result.kind = part == Normal(path.string()) ? TypedFolderKind::kExisting
                                                        : TypedFolderKind::kMissing;
            return result;
        }
        if (part == part.parent_path()) break;
    }
    result.kind = TypedFolderKind::kMissing;
    return result;
}

std::string ConfirmTypedFolder(const std::string& text, const std::string& base) {
    const TypedFolder typed = CheckTypedFolder(text, base);
    switch (typed.kind) {
        case TypedFolderKind::kExisting:
            return typed.folder;
        case TypedFolderKind::kInvalid:
            ShowError("[%s] is not a folder", text.c_str());
            return {};
        case TypedFolderKind::kMissing:
            break;
    }
    if (!AskYesNo("The folder [%s] does not exist.\nCreate it?", typed.folder.c_str())) return {};
    std::error_code error;
    fs::create_directories(typed.folder, error);
    if (error) {
        ReportCreationError(typed.folder, error.value());
        return {};
    }
    return typed.folder;
}
