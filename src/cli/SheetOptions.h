#pragma once
// The options of make that build an S16 back from a sprite sheet.

#include <string>

struct BuildPlan;

namespace CLI {
class App;
class Option;
}  // namespace CLI

// Adds --from-sheet SHEET and --grid CxR to `make`; returns --from-sheet.
CLI::Option* AddFromSheetOptions(CLI::App& make, std::string& sheet, std::string& grid);

// Builds `output` from the sheet picture: cut into the grid when `grid` is
// given, else as the description beside the sheet says; with `planOnly`, only
// adds the file to it.
bool MakeFromSheetPicture(const std::string& sheet, const std::string& grid,
                          const std::string& output, BuildPlan* planOnly = nullptr);
