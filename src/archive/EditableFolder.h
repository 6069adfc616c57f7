#pragma once
// An archive as a folder a paint program can edit: every S16 item as a
// sprite sheet PNG with its description, every other item as it is, and a
// manifest of the items in order; and the archive built back from such a
// folder. Unedited, the round trip gives the same archive byte for byte.

#include <string>

class DatArchive;
class Progress;
struct PlannedChange;

// Writes the folder (made when missing). An S16 item whose sheet would not
// build it back byte for byte (a damaged or hand-made one) is written as it
// is, with a message. Files already there are kept, and the unpack fails,
// unless `overwrite`. False when any file could not be written.
bool UnpackAsEditableFolder(DatArchive& archive, const std::string& folder, bool overwrite,
                            Progress& progress);

// Builds `archivePath` from the folder: the manifest's items in its order
// (sheets built into S16 items), then the files the manifest does not name,
// in name order (a PNG with a sheet description beside it becomes the S16
// item named like the PNG without ".png"). Written through a scratch file;
// an archive already there is kept as its backup. With `planOnly`, fills it
// with what would change against an archive already there (items whose bytes
// stay the same are not changes) and writes nothing.
bool PackEditableFolder(const std::string& folder, const std::string& archivePath,
                        PlannedChange* planOnly, Progress& progress);
