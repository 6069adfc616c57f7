#pragma once
// Reading a sheet or an icon picture by its content: PNG (under the
// transparency rule) or BMP.

#include <string>

class PixelBuffer24;

// Loads the picture at `path` into `picture`; false after a message naming it.
bool LoadPicture(const std::string& path, PixelBuffer24& picture);
