#pragma once
// The manifest of an archive unpacked as an editable folder ("manifest.json"):
// the items in archive order, each with its name and the file that holds it,
// either a sprite sheet (an S16 item) or the item's bytes as they are.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "archive/DatFormat.h"

inline constexpr const char* kManifestName = "manifest.json";

struct ManifestItem {
    // The name's 13 bytes as the directory holds them.
    std::array<char, dat::kNameSize> name{};
    // A sheet picture (its description beside it) or a file, in the folder.
    std::string sheet;
    std::string file;
};

struct FolderManifest {
    std::string archive;  // the archive's file name, for the reader
    std::vector<ManifestItem> items;
};

std::string ManifestText(const FolderManifest& manifest);

// Reads a manifest; false, with `problem` naming the item, when a field is
// missing or of the wrong kind, a name is over 13 bytes, or a file name is
// not a plain name in the folder.
bool ParseManifest(std::string_view text, FolderManifest& out, std::string& problem);
