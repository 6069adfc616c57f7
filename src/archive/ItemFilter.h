#pragma once
// Which items of an archive a list shows: all, the 9-icon units or the others,
// narrowed by a name filter ("UN" begins-with, "$01" contains).

#include <string>
#include <vector>

#include "archive/DatEntry.h"

enum ItemFilterMode : int { kShowAll = 0, kShowUnits = 1, kShowInterface = 2 };

// Indexes of the entries that pass, in directory order.
std::vector<int> FilterItems(const std::vector<DatEntry>& entries, int mode,
                             const std::string& text);
// A list row: "%s  (%d)" with the printable name and the icon count.
std::string ItemRow(const DatEntry& entry);
// Appends ItemRow(entry) to `rows`.
void AppendItemRow(std::string& rows, const DatEntry& entry);
