#pragma once
// The archive as an editable folder: the help of unpack --png (pack is
// registered by AddFolderCommands).

inline constexpr const char* kUnpackPngHelp =
    "every S16 item as a sprite sheet PNG with its JSON description (ITEM.png, ITEM.json), "
    "every other item as it is, and manifest.json listing the items in order: edit the "
    "pictures, then pack the folder";
