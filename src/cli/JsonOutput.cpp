#include "cli/JsonOutput.h"

#include "archive/DatEntry.h"
#include "shp/ShpFormat.h"
#include "sprite/S16Icon.h"

void PrintJson(std::ostream& out, const Json& document) {
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

Json ItemJson(const DatEntry& entry, int index) {
    const std::optional<std::int32_t> icons = ReadableIconCount(entry);
    return {{"index", index},
            {"name", entry.Name()},
            {"offset", entry.offset},
            {"size", entry.size},
            {"icons", icons ? Json(*icons) : Json(nullptr)}};
}

Json IconJson(const S16Icon& r, int number) {
    return {{"number", number},          {"width", r.Width},      {"height", r.Height},
            {"start_x", r.StartX},       {"start_y", r.StartY},   {"total_width", r.TWidth},
            {"total_height", r.THeight}, {"starts", r.Starts},    {"bytes", r.Bytes},
            {"compress", r.Compress},    {"reserved", r.Reserved}};
}

Json FrameJson(const ShpFrameHeader& h, int number) {
    return {{"number", number}, {"width", h.Width()}, {"height", h.Height()}, {"left", h.Left},
            {"top", h.Top},     {"right", h.Right},   {"bottom", h.Bottom}};
}
