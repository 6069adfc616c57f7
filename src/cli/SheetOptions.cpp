#include "cli/SheetOptions.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "sprite/SheetBuild.h"

namespace {

bool ParseGrid(const std::string& text, int& columns, int& rows) {
    int used = 0;
    return std::sscanf(text.c_str(), "%dx%d%n", &columns, &rows, &used) == 2 &&
           used == static_cast<int>(text.size()) && columns > 0 && rows > 0 && columns <= 100000 &&
           rows <= 100000;
}

}  // namespace

CLI::Option* AddFromSheetOptions(CLI::App& make, std::string& sheet, std::string& grid) {
    auto* fromSheet = make.add_option(
        "--from-sheet", sheet,
        "one S16 (OUT.s16) from a sprite sheet (PNG or BMP), as SHEET.json beside it describes "
        "it (the sheets to-png --sheet and to-bmp --sheet write)");
    make.add_option("--grid", grid,
                    "with --from-sheet: cut the sheet into COLUMNSxROWS equal cells instead, "
                    "row by row, each an icon")
        ->check(CLI::Validator(
            [](std::string& text) {
                int columns = 0, rows = 0;
                return ParseGrid(text, columns, rows)
                           ? std::string()
                           : "Invalid grid " + text + ": use COLUMNSxROWS, both above 0";
            },
            "COLUMNSxROWS"))
        ->needs(fromSheet);
    return fromSheet;
}

bool MakeFromSheetPicture(const std::string& sheet, const std::string& grid,
                          const std::string& output, BuildPlan* planOnly) {
    int columns = 0, rows = 0;
    if (!grid.empty()) ParseGrid(grid, columns, rows);  // checked while parsing
    return MakeS16FromSheetFile(sheet, columns, rows, output, planOnly);
}
