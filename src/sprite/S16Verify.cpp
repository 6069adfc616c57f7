#include "sprite/S16Verify.h"

#include "sprite/IconDataMap.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"

namespace {

bool IsEmptyRecord(const S16Icon& r) {
    return r == S16Icon{};
}

// What is wrong with icon k's record before anything is decoded; empty when nothing.
std::string RecordProblem(const S16Icon& r, std::uint64_t dataArea) {
    if (!s16::DecodableIconSize(r.TWidth, r.THeight))
        return FormatText("it is %d x %d, outside the limits of an icon", r.TWidth, r.THeight);
    if (r.Starts < 0 || r.Bytes < 0 ||
        static_cast<std::uint64_t>(r.Starts) + static_cast<std::uint64_t>(r.Bytes) > dataArea)
        return FormatText("its data (%d bytes at %d) lie outside the file", r.Bytes, r.Starts);
    if (r.Width < 1 || r.Height < 1)
        return FormatText("its stored area is %d x %d: it holds no pixels", r.Width, r.Height);
    if (r.StartX < 0 || r.StartY < 0 || static_cast<std::int64_t>(r.StartX) + r.Width > r.TWidth ||
        static_cast<std::int64_t>(r.StartY) + r.Height > r.THeight)
        return FormatText("its stored area (%d x %d at %d, %d) sticks out of the icon (%d x %d)",
                          r.Width, r.Height, r.StartX, r.StartY, r.TWidth, r.THeight);
    return {};
}

}  // namespace

void VerifyIconSet(S16Image& image, const std::string& item, FileCheck& check) {
    if (image.TableReadFailed()) {
        check.problems.push_back({item, 0, "its icon table cannot be read"});
        return;
    }
    const std::string count = image.CountProblem();
    if (!count.empty()) {
        check.problems.push_back({item, 0, count});
        return;
    }
    const std::uint64_t dataArea = image.DataAreaSize();
    const std::size_t problemsBefore = check.problems.size();
    for (int k = 1; k <= image.IconCount(); ++k) {
        const S16Icon r = image.Icon(k);
        if (IsEmptyRecord(r)) continue;
        const std::string problem = RecordProblem(r, dataArea);
        if (!problem.empty()) {
            check.problems.push_back({item, k, problem});
            continue;
        }
        image.SelectIcon(k);
        const int placed = image.DecodeIcon();
        ++check.icons;
        const std::int64_t stored = static_cast<std::int64_t>(r.Width) * r.Height;
        if (placed < stored) {
            check.problems.push_back({item, k,
                                      FormatText("its data give %d of its %lld pixels", placed,
                                                 static_cast<long long>(stored))});
        }
    }
    // Data that lie outside the file would also be found overlapping others.
    if (check.problems.size() > problemsBefore) return;
    const IconDataMap map = MapIconData(image, 0, false);
    if (map.Overlaps()) {
        check.problems.push_back(
            {item, map.overlapSecond,
             FormatText("its data overlap those of icon %d", map.overlapFirst)});
    }
}

bool VerifyS16File(const std::string& path, FileCheck& check) {
    S16Image image;
    if (!image.OpenFile(path)) {
        ReportOpenError(path, image.File().Error());
        return false;
    }
    VerifyIconSet(image, {}, check);
    return true;
}
