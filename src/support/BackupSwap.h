#pragma once
// Undo and redo of a rewrite: the backup a rewrite kept becomes the file again
// and the file becomes the backup, so that a second swap returns to where the
// first began. The swap is itself a safe rewrite (scratch file, flush, rename).

#include <string>

// Puts the content of `backupPath` in place at `path` and keeps the content
// that was there as the backup. Reports, naming the file, and changes nothing
// on failure.
bool SwapWithBackup(const std::string& path, const std::string& backupPath);
