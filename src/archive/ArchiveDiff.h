#pragma once
// Two archives compared by content: items only in one, items in both with the
// same bytes, and items in both whose bytes differ, with the icons of a
// changed S16 item whose pixels differ.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class IconPlace { kBoth, kOnlyFirst, kOnlySecond };

struct IconDifference {
    int icon = 0;
    IconPlace place = IconPlace::kBoth;
    // Pixels that differ (over the larger of the two pictures, a pixel only one
    // of them has counting as different); for an icon of one side only, its pixels.
    std::int64_t pixels = 0;
};

struct ChangedContent {
    std::string name;
    std::int64_t firstSize = 0;
    std::int64_t secondSize = 0;
    bool s16 = false;  // both are S16 items whose tables could be read
    int firstIcons = 0;
    int secondIcons = 0;
    std::vector<IconDifference> icons;  // in icon order
};

struct ArchiveDifferences {
    std::vector<std::string> onlyFirst;  // names, in each archive's order
    std::vector<std::string> onlySecond;
    std::vector<std::string> identical;
    std::vector<ChangedContent> changed;
    // Items of a damaged archive that lie outside its file and were not compared (told).
    int itemsLeftOut = 0;

    bool Same() const { return onlyFirst.empty() && onlySecond.empty() && changed.empty(); }
};

// Compares the archives at `first` and `second` item by item. Items pair by
// name in any letter case (several items of one name pair in order); a pair
// of equal size is compared byte by byte. Nothing, after a message naming
// the archive, when one cannot be opened or read.
std::optional<ArchiveDifferences> DiffArchives(const std::string& first, const std::string& second);
