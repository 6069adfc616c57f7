#include "archive/ArchiveDiff.h"

#include <algorithm>
#include <map>

#include "archive/DatArchive.h"
#include "sprite/S16Image.h"
#include "support/Text.h"

namespace {

bool ReadItem(DatArchive& archive, int index, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(std::max<std::int64_t>(archive.Entry(index).size, 0)));
    return archive.CopyItemBytes(index, [&bytes](std::span<const std::uint8_t> block) {
        bytes.insert(bytes.end(), block.begin(), block.end());
        return true;
    });
}

std::int64_t PixelCount(const PixelBuffer24& picture) {
    return static_cast<std::int64_t>(picture.Width()) * picture.Height();
}

// Pixels that differ between the two decoded pictures, over the larger extent.
std::int64_t DifferingPixels(const PixelBuffer24& a, const PixelBuffer24& b) {
    const int width = std::max(a.Width(), b.Width());
    const int height = std::max(a.Height(), b.Height());
    std::int64_t differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inA = x < a.Width() && y < a.Height();
            const bool inB = x < b.Width() && y < b.Height();
            if (inA != inB || (inA && a.GetColor(x, y) != b.GetColor(x, y))) ++differing;
        }
    }
    return differing;
}

// The icons of two S16 items whose pixels differ; false when either table
// cannot be read as an S16.
bool DiffIcons(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
               const std::string& name, ChangedContent& change) {
    S16Image first, second;
    first.OpenBytes(a, name);
    second.OpenBytes(b, name);
    if (first.TableReadFailed() || second.TableReadFailed() || !first.CountProblem().empty() ||
        !second.CountProblem().empty())
        return false;
    change.firstIcons = first.IconCount();
    change.secondIcons = second.IconCount();
    const int count = std::max(change.firstIcons, change.secondIcons);
    for (int k = 1; k <= count; ++k) {
        const bool inFirst = k <= change.firstIcons;
        const bool inSecond = k <= change.secondIcons;
        if (inFirst) {
            first.SelectIcon(k);
            first.DecodeIcon();
        }
        if (inSecond) {
            second.SelectIcon(k);
            second.DecodeIcon();
        }
        IconDifference difference{k, IconPlace::kBoth, 0};
        if (!inSecond) {
            difference = {k, IconPlace::kOnlyFirst, PixelCount(first)};
        } else if (!inFirst) {
            difference = {k, IconPlace::kOnlySecond, PixelCount(second)};
        } else {
            difference.pixels = DifferingPixels(first, second);
            if (difference.pixels == 0) continue;
        }
        change.icons.push_back(difference);
    }
    return true;
}

}  // namespace

std::optional<ArchiveDifferences> DiffArchives(const std::string& firstPath,
                                               const std::string& secondPath) {
    DatArchive first, second;
    if (!first.OpenArchive(firstPath) || !second.OpenArchive(secondPath)) return std::nullopt;
    std::multimap<std::string, int> unpaired;  // the second archive's items by name
    for (int j = 0; j < second.ItemCount(); ++j)
        unpaired.emplace(ToUpper(second.Entry(j).Name()), j);
    ArchiveDifferences result;
    std::vector<bool> paired(static_cast<std::size_t>(second.ItemCount()), false);
    std::vector<std::uint8_t> a, b;
    for (int i = 0; i < first.ItemCount(); ++i) {
        const DatEntry& entry = first.Entry(i);
        const auto match = unpaired.find(ToUpper(entry.Name()));
        if (match == unpaired.end()) {
            result.onlyFirst.push_back(entry.Name());
            continue;
        }
        const int j = match->second;
        unpaired.erase(match);
        paired[static_cast<std::size_t>(j)] = true;
        const DatEntry& other = second.Entry(j);
        const bool sameSize = entry.size == other.size;
        const bool bothS16 = entry.isS16 && other.isS16;
        // Items of different sizes differ; their bytes are read only to compare icons.
        if (sameSize || bothS16) {
            if (!ReadItem(first, i, a) || !ReadItem(second, j, b)) return std::nullopt;
            if (sameSize && a == b) {
                result.identical.push_back(entry.Name());
                continue;
            }
        }
        ChangedContent change;
        change.name = entry.Name();
        change.firstSize = entry.size;
        change.secondSize = other.size;
        change.s16 = bothS16 && DiffIcons(a, b, entry.Name(), change);
        result.changed.push_back(std::move(change));
    }
    result.itemsLeftOut = first.ItemsLeftOut() + second.ItemsLeftOut();
    for (int j = 0; j < second.ItemCount(); ++j) {
        if (!paired[static_cast<std::size_t>(j)])
            result.onlySecond.push_back(second.Entry(j).Name());
    }
    return result;
}
