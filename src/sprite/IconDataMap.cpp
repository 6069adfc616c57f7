#include "sprite/IconDataMap.h"

#include <algorithm>
#include <cstdint>

#include "sprite/S16Image.h"

namespace {

struct DataRange {
    std::int64_t start = 0;
    std::int64_t end = 0;
    int number = 0;
};

DataRange RangeOf(const S16Icon& r, int number, std::int64_t area) {
    const std::int64_t start = std::clamp<std::int64_t>(r.Starts, 0, area);
    const std::int64_t length = r.Bytes < 0 ? area - start : r.Bytes;
    return {start, std::min(area, start + length), number};
}

}  // namespace

IconDataMap MapIconData(const S16Image& image, int skipped, bool sameRecordToShare) {
    IconDataMap map;
    const int count = image.IconCount();
    map.owner.assign(static_cast<std::size_t>(count), 0);
    const auto area = static_cast<std::int64_t>(image.DataAreaSize());
    std::vector<DataRange> ranges;
    ranges.reserve(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        if (k == skipped) continue;
        const DataRange range = RangeOf(image.Icon(k), k, area);
        map.owner[static_cast<std::size_t>(k - 1)] = k;
        if (range.end > range.start) ranges.push_back(range);
    }
    std::sort(ranges.begin(), ranges.end(), [](const DataRange& a, const DataRange& b) {
        return a.start != b.start ? a.start < b.start
                                  : (a.end != b.end ? a.end < b.end : a.number < b.number);
    });
    const DataRange* reach = nullptr;  // the range reaching furthest so far
    const DataRange* group = nullptr;  // the first of the ranges equal to the current one
    for (const DataRange& range : ranges) {
        if (group && range.start == group->start && range.end == group->end) {
            const bool same =
                !sameRecordToShare || image.Icon(range.number) == image.Icon(group->number);
            if (same) {
                map.owner[static_cast<std::size_t>(range.number - 1)] = group->number;
                continue;
            }
            map.overlapFirst = group->number;
            map.overlapSecond = range.number;
            return map;
        }
        if (reach && range.start < reach->end) {
            map.overlapFirst = std::min(reach->number, range.number);
            map.overlapSecond = std::max(reach->number, range.number);
            return map;
        }
        group = &range;
        if (!reach || range.end > reach->end) reach = &range;
    }
    return map;
}
