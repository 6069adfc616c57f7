#pragma once
// Writing every icon of an S16 set as the frames of one SHP file.

#include <string>

class S16Image;

// Writes the icons of `image`, in order, as an SHP file at `outputPath`. The
// work is done in memory and the file appears only when complete. False when
// the set is empty, an icon cannot be decoded or the file cannot be written.
bool ExportIconSetAsShp(S16Image& image, const std::string& outputPath);
// Exports and says how it went, with the S16 Tool's two messages.
bool ExportIconSetAsShpAndTell(S16Image& image, const std::string& outputPath);
