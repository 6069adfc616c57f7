#pragma once
// The folder a file lies in, and flushing a folder so that the renames made in
// it survive a crash of the machine.

#include <string>

// The folder holding `path`; "." for a bare file name.
std::string FolderOf(const std::string& path);

// Flushes `folder` itself to disk; 0 or the system's error. Where folders
// cannot be flushed (Windows), nothing is done and 0 is returned.
int FlushFolder(const std::string& folder);
