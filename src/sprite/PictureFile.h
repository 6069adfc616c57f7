#pragma once
// Picture files written from decoded icons: 24-bit BMP, or PNG with the key
// colour and the transparent colour as fully transparent pixels.

#include <cstdint>
#include <string>
#include <vector>

class DurabilityBatch;
class PixelBuffer24;

enum class PictureType { kBmp, kPng };

struct PictureStyle {
    PictureType type = PictureType::kBmp;
    // PNG only: every pixel opaque, in the colours a BMP shows.
    bool opaque = false;
};

// ".bmp" or ".png".
std::string PictureExtension(PictureType type);
// "BMP" or "PNG", as messages name the kind.
std::string PictureTypeName(PictureType type);

// The bytes of a picture file showing `picture` (any depth; the unused area
// in the key colour). False, after a message naming `name`, when memory runs
// out or the picture cannot be coded.
bool EncodePictureFile(const PixelBuffer24& picture, const PictureStyle& style,
                       const std::string& name, std::vector<std::uint8_t>& out);
// Writes that file at `path` through a scratch file; false after a message
// naming it. With `batch`, the file is left for the batch to flush.
bool WritePictureFile(const PixelBuffer24& picture, const PictureStyle& style,
                      const std::string& path, DurabilityBatch* batch = nullptr);
