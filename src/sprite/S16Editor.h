#pragma once
// Editing of standalone S16 files: inserting an icon taken from a bitmap and
// removing an icon. Each rewrite goes to a scratch file beside it first and keeps the
// previous file as "<name>.back"; the image is left closed and must be reopened.

#include <cstdint>
#include <string>
#include <vector>

class S16Image;

// What an edit would make of the file, told by a dry run instead of writing.
struct S16EditPlan {
    int iconsBefore = 0;
    int iconsAfter = 0;
    std::uint64_t bytesBefore = 0;
    std::uint64_t bytesAfter = 0;
};

// Inserts the picture of `bitmapPath` so that it becomes icon n; n <= 0 or
// n > count appends it. With `planOnly`, every check is made and the new file
// built, but nothing is written: `planOnly` receives the outcome and the
// image stays open.
bool InsertIconFromBmp(S16Image& image, const std::string& bitmapPath, int n,
                       S16EditPlan* planOnly = nullptr);
// Removes icon n (1-based); false, writing nothing, when n is out of range.
bool RemoveIcon(S16Image& image, int n, S16EditPlan* planOnly = nullptr);

// An icon set with one icon replaced: the new S16 bytes, and what changes
// ("icon N of NAME: W x H, B bytes coded, was ...").
struct IconReplacement {
    std::vector<std::uint8_t> bytes;
    std::string change;
};
// Plans replacing icon n of `image` (which messages call `name`) with the
// picture at `picturePath` (PNG or BMP, read by content). Data that other
// icons shared with icon n stay theirs. False after a message.
bool PlanIconReplacement(S16Image& image, const std::string& name, int n,
                         const std::string& picturePath, IconReplacement& plan);
// Replaces icon n of the standalone S16 file in one rewrite, keeping the
// backup, and tells what changed; with `planOnly`, only fills it and writes nothing.
bool ReplaceIconFromPicture(S16Image& image, int n, const std::string& picturePath,
                            IconReplacement* planOnly = nullptr);

// Where a rewrite keeps the previous S16 file.
std::string S16BackupPath(const std::string& path);
