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
