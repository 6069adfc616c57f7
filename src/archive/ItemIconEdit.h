#pragma once
// Editing the icons of an S16 item inside an archive: the item is built anew
// in memory and replaces the old one in one rewrite of the archive.

#include <string>

class DatArchive;
class Progress;

// Replaces icon n of S16 item `index` with the picture at `picturePath`, in
// one rewrite (the old archive kept as its backup), and tells what changed;
// with `dryRun` only tells what would. False after a message.
bool ReplaceIconOfItem(DatArchive& archive, int index, int n, const std::string& picturePath,
                       bool dryRun, Progress& progress);
