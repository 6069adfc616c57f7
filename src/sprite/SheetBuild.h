#pragma once
// Building icons back from a sprite sheet: as its description says (the
// sheets that to-png and to-bmp write), or cut into equal cells.

#include <cstdint>
#include <string>
#include <vector>

#include "sprite/S16Icon.h"

class PixelBuffer24;
struct BuildPlan;
struct SheetDescription;

// The description that belongs to the sheet at `sheetPath`: the same path
// with ".json" for its extension.
std::string SheetDescriptionPath(const std::string& sheetPath);

// One icon per frame of `description`, in its order, cut from `sheet`
// (which messages call `sheetName`).
// Unchanged icons come out as described (stored area, coding, shared data);
// see EncodeIconAs. False, after a message naming `descriptionName` or the
// sheet, when a frame lies outside the picture or an icon cannot be made.
bool IconsFromDescribedSheet(const PixelBuffer24& sheet, const std::string& sheetName,
                             const SheetDescription& description,
                             const std::string& descriptionName, std::vector<CodedIcon>& icons);

// The `columns` x `rows` equal cells of `sheet`, row by row from the top
// left, each coded as a new icon. False, after a message naming the sheet,
// when the picture does not divide into such cells.
bool IconsFromSheetGrid(const PixelBuffer24& sheet, const std::string& sheetName, int columns,
                        int rows, std::vector<CodedIcon>& icons);

// Loads a description file; false after a message naming it.
bool LoadSheetDescription(const std::string& path, SheetDescription& description);

// The bytes of the S16 file that MakeS16FromSheetFile writes; false after a
// message naming the file at fault.
bool S16BytesFromSheetFile(const std::string& sheetPath, int columns, int rows,
                           std::vector<std::uint8_t>& bytes);
// Builds the S16 file `outputPath` from the sheet picture at `sheetPath`:
// with `columns` and `rows` above 0 cut into that grid, else as the
// description beside it says. Reports the outcome; false when nothing was written.
// With `planOnly`, adds the file to it and writes nothing.
bool MakeS16FromSheetFile(const std::string& sheetPath, int columns, int rows,
                          const std::string& outputPath, BuildPlan* planOnly = nullptr);
