#pragma once
// Editing of standalone S16 files: inserting an icon taken from a bitmap and
// removing an icon. Each rewrite goes to a scratch file beside it first and keeps the
// previous file as "<name>.back"; the image is left closed and must be reopened.

#include <string>

class S16Image;

// Inserts the picture of `bitmapPath` so that it becomes icon n; n <= 0 or
// n > count appends it.
bool InsertIconFromBmp(S16Image& image, const std::string& bitmapPath, int n);
// Removes icon n (1-based); false, writing nothing, when n is out of range.
bool RemoveIcon(S16Image& image, int n);

// Where a rewrite keeps the previous S16 file.
std::string S16BackupPath(const std::string& path);
