#pragma once
// Editing the icons of an S16 item inside an archive: the item is built anew
// in memory and replaces the old one in one rewrite of the archive.

#include <string>

class DatArchive;
class Progress;
struct IconReplacement;

// Replaces icon n of S16 item `index` with the picture at `picturePath`, in
// one rewrite (the old archive kept as its backup), and tells what changed;
// with `planOnly`, only fills it (the new item's bytes) and writes nothing.
// False after a message.
bool ReplaceIconOfItem(DatArchive& archive, int index, int n, const std::string& picturePath,
                       IconReplacement* planOnly, Progress& progress);
