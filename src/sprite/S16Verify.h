#pragma once
// Reading an S16 icon set whole, as the game would: its table, every icon's
// record and every icon's decode, each problem told apart.

#include <string>

#include "sprite/FileProblem.h"

class S16Image;

// Checks the icon set read into `image` (a file or an archive item named
// `item`, empty for a standalone file) and adds what is wrong to `check`:
// a table that cannot be read or counts more icons than the bytes hold; an
// icon over the size limits, with data outside the file, a stored area that
// is empty or sticks out of the icon, or data that give fewer pixels than
// its stored area; icons whose data overlap. A record of zeros (an icon left
// empty on purpose) is sound.
void VerifyIconSet(S16Image& image, const std::string& item, FileCheck& check);

// Opens the standalone S16 file at `path` read-only and checks it; false,
// after a message naming it, when it cannot be opened.
bool VerifyS16File(const std::string& path, FileCheck& check);
