#pragma once
// Building S16 files from bitmaps: nine cloned icons per bitmap, nine icons
// cut from a 3 x 3 or 9 x 1 sheet, or one icon per entry of an ordered list.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class PixelBuffer24;
struct CodedIcon;

struct BuildCounts {
    int created = 0;
    int failed = 0;
};

// A dry run's account: each file a build would write, with its size in bytes.
// A build given one reads and codes every picture as usual, tells problems
// the same way, and writes nothing.
struct BuildPlan {
    std::vector<std::pair<std::string, std::uint64_t>> files;
};

// For each named bitmap of `folder`, an S16 with nine copies of its picture
// beside it ("<name>.s16"). Reports the counts in a message.
BuildCounts MakeClonedS16(const std::string& folder, const std::vector<std::string>& names,
                          BuildPlan* planOnly = nullptr);
// For each named bitmap, an S16 with the nine cells of the sheet, row by row
// from the top left (3 x 3) or left to right (9 x 1).
BuildCounts MakeS16FromSheet(const std::string& folder, const std::vector<std::string>& names,
                             bool grid3x3, BuildPlan* planOnly = nullptr);
// The icons of the `columns` x `rows` cells of `sheet`, each Width / columns x
// Height / rows (the caller checks that is at least 1 x 1), row by row from
// the top left; messages name `source`. False after a message when a cell
// cannot become an icon or memory runs out.
bool IconsFromCells(const PixelBuffer24& sheet, const std::string& source, int columns, int rows,
                    std::vector<CodedIcon>& icons);

// What a list build does with an entry whose bitmap cannot become an icon:
// keep a zero record in its place (the window's S16 Maker), or write nothing
// at all and say which bitmap stopped it (the command line).
enum class ListGaps { kKeepBlank, kRefuse };

// One S16 at `outputPath` with an icon per list entry ("#%03d : name", the
// picture being IconListPicturePath(folder, name)). False when the file cannot
// be written, or with kRefuse when any bitmap cannot become an icon.
bool MakeS16FromList(const std::string& folder, const std::vector<std::string>& entries,
                     const std::string& outputPath, ListGaps gaps = ListGaps::kKeepBlank,
                     BuildPlan* planOnly = nullptr);

// The text of icon-list entry `number` (1-based) for a bitmap's base name.
std::string IconListEntry(int number, const std::string& baseName);

// Whether a file name is one of a picture the builders read (.bmp or .png,
// in any letter case).
bool IsPictureFileName(const std::string& fileName);
// The name an icon list shows for a picture file: a BMP's base name (as it
// always has), a PNG's whole name, so that the two never stand for each other.
std::string IconListName(const std::string& fileName);
// The picture file of an icon-list name: a name ending in ".png" or ".bmp" as
// it is, any other with ".bmp" added.
std::string IconListPicturePath(const std::string& folder, const std::string& name);
