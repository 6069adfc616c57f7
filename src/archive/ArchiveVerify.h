#pragma once
// Reading a DAT archive whole, as the game would: its directory, every item's
// bounds and name order, and every S16 item's icons.

#include <string>

#include "sprite/FileProblem.h"

// Opens the archive at `path` read-only and adds what is wrong to `check`:
// a file that is no archive; items that start inside the directory, end
// before they start or lie outside the file; names out of the archive's
// order; an end record that does not end the file; and every problem of the
// icon sets of the S16 items (VerifyIconSet). False, after a message naming
// the file, when it cannot be opened or read.
bool VerifyArchive(const std::string& path, FileCheck& check);
