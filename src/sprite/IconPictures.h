#pragma once
// Saving the icons of an S16 set as picture files: one icon, every icon, a
// collage, or a sprite sheet with its description. The one operation behind
// to-bmp and to-png.

#include <cstdint>
#include <string>
#include <vector>

#include "sprite/PictureFile.h"

class S16Image;

struct IconPictureRequest {
    enum class What { kIcon, kAll, kCollage, kSheet };
    What what = What::kIcon;
    // The file written; for kAll the base of "<base>_NNN.<ext>"; for kSheet
    // the picture, described in SheetDescriptionPath(output).
    std::string output;
    int icon = 1;     // kIcon
    int first = 1;    // kCollage
    int width = 640;  // kCollage: the area
    int height = 480;
    int columns = 0;  // kSheet; 0: DefaultSheetColumns
    PictureStyle style;
    // kIcon and kCollage: when set, the file's bytes go here instead of into
    // `output` (for a command that writes to standard output).
    std::vector<std::uint8_t>* bytes = nullptr;
};

// Writes what `request` asks for from `image`, which messages call `name`.
// Every failure is reported, naming the file; true when everything was written.
bool SaveIconPictures(S16Image& image, const std::string& name, const IconPictureRequest& request);

// The file name of icon `number` when every icon is saved under `basePath`.
std::string IconPicturePath(const std::string& basePath, int number, PictureType type);
