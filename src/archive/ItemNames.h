#pragma once
// The rules for item names: which may become a file name inside a folder, and
// how any name (or a path made from one) is shown.

#include <string>
#include <string_view>

struct DatEntry;

// Item names come from the file: only a plain name (no folder separator,
// drive or "..") may become a file name inside a chosen folder.
bool IsPlainItemName(const std::string& name);
// folder + the item's name; empty, after a message, when the name is not a
// plain file name.
std::string ItemPathInFolder(const DatEntry& entry, const std::string& folder);
// An item name as it may be shown: control characters and backslashes
// escaped C-style ("\n", "\t", "\x1B", "\\"), so that no name can split a
// row or drive a terminal.
std::string PrintableName(const std::string& name);
// True when PrintableName would show `name` unchanged.
bool IsPrintableAsIs(std::string_view name);
