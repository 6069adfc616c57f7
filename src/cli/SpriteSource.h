#pragma once
// Opens the SPRITE argument of the sprite commands: a standalone .s16 file,
// or ARCHIVE.dat:ITEM for an S16 item read straight from an archive.

#include <memory>
#include <optional>
#include <string>

class S16Image;

// The help text of a SPRITE argument.
inline constexpr const char* kSpriteHelp =
    "an .s16 file, ARCHIVE.dat:ITEM or ARCHIVE.dat:#N (the N-th item)";

// How pictures read as icons are painted: the key colour and transparency.
inline constexpr const char* kKeyColourHelp =
    "Pictures are BMP or PNG files, told apart by their content.\n"
    "Paint the areas an icon does not use in the key colour red 248, green 220, blue 220\n"
    "(0xF8DCDC): they are left out of the stored icon and save space.\n"
    "Transparency: a pixel with alpha below 128 is that unused area, except a fully\n"
    "transparent pixel of colour red 248, green 0, blue 248, which is the S16 transparent\n"
    "colour; a pixel with alpha 128 and above is its own colour.";

struct ArchiveItem {
    std::string archive;
    std::string item;
};

// Splits "ARCHIVE.dat:ITEM" (the archive part ending in .dat, any case);
// nothing for any other text.
std::optional<ArchiveItem> SplitArchiveItem(const std::string& sprite);

// The icon set the SPRITE argument `sprite` names, or null after an error
// message.
std::unique_ptr<S16Image> OpenSprite(const std::string& sprite);
