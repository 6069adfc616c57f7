#pragma once
// Saving decoded icons of an S16 set as 24-bit BMP files.

#include <string>

class S16Image;

// Saves the decoded current icon (its whole picture, unused area in the key
// colour); false, writing nothing, when no icon is decoded.
bool SaveIconAsBmp(S16Image& image, const std::string& fileName);
// Saves every icon as "<base>_%03d.bmp", reports the outcome and returns the
// number of icons that could not be decoded or written. The current icon is kept.
int SaveAllIconsAsBmp(S16Image& image, const std::string& basePath);
// The file name SaveAllIconsAsBmp gives icon `number`.
std::string IconBitmapPath(const std::string& basePath, int number);
