#pragma once
// What the folder browser does to folders on disk: create, rename, delete
// (to the trash), move and copy, with the refusals a drop needs.

#include <string>

// Creates "NewFolder" in `parent`; shows the creation error and returns false
// when it cannot.
bool CreateNewFolder(const std::string& parent, std::string& created);
// Renames `folder` to `newName` in the same parent; false when that fails.
bool RenameFolder(const std::string& folder, const std::string& newName, std::string& renamed);
// Moves the folder to the trash, or deletes it for good with `permanently`.
// A failure is told; a move to the trash that fails deletes nothing.
bool DeleteFolder(const std::string& folder, bool permanently);
// A folder may be dropped on a folder that is not itself, not its parent and
// not inside it.
bool CanDropFolder(const std::string& folder, const std::string& target);
// Moves or copies `folder` into `target`; false when refused or failed.
bool DropFolder(const std::string& folder, const std::string& target, bool copy);
// A short description of a folder: path, files, size and dates.
std::string FolderProperties(const std::string& folder);

// What a folder typed by the user names.
enum class TypedFolderKind { kExisting, kMissing, kInvalid };
struct TypedFolder {
    TypedFolderKind kind = TypedFolderKind::kInvalid;
    std::string folder;  // absolute, ending in a separator
};
// A relative text is taken from `base`; a text naming a file, or a path
// through a file, is invalid.
TypedFolder CheckTypedFolder(const std::string& text, const std::string& base);
// Resolves a typed folder as a choice: an existing folder is taken, a missing
// one is created once the user agrees, anything else is an error; empty when
// nothing is chosen.
std::string ConfirmTypedFolder(const std::string& text, const std::string& base);
