#include "sprite/SpriteSheetJson.h"

#include <algorithm>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>

#include "sprite/IconDataMap.h"
#include "sprite/S16Format.h"
#include "sprite/S16Image.h"
#include "sprite/SpriteSheet.h"
#include "support/Messages.h"

// Written in the order a reader expects its fields; read into a map, whose
// look-ups stay fast however many frames a file names.
using Json = nlohmann::ordered_json;
using ReadJson = nlohmann::json;

namespace {

// A description holds at most this many frames; an S16 holds far fewer.
constexpr std::size_t kMaxFrames = 100000;

Json Box(int x, int y, int w, int h) {
    return Json{{"x", x}, {"y", y}, {"w", w}, {"h", h}};
}

Json RecordJson(const SheetFrame& frame) {
    const S16Icon& r = frame.record;
    Json s16{{"icon", frame.icon},     {"Width", r.Width},      {"Height", r.Height},
             {"StartX", r.StartX},     {"StartY", r.StartY},    {"TWidth", r.TWidth},
             {"THeight", r.THeight},   {"Starts", r.Starts},    {"Bytes", r.Bytes},
             {"Compress", r.Compress}, {"Reserved", r.Reserved}};
    if (frame.sharesDataOf > 0) s16["sharesDataOf"] = frame.sharesDataOf;
    return s16;
}

// Reads the integer `key` of `object` into `out`; false, with `problem`, when
// it is missing, not a whole number, or outside [low, high].
bool ReadInt(const ReadJson& object, const char* key, std::int64_t low, std::int64_t high, int& out,
             std::string& problem) {
    const auto it = object.find(key);
    if (it == object.end()) {
        problem = FormatText("\"%s\" is missing", key);
        return false;
    }
    bool inRange = false;
    std::int64_t value = 0;
    if (it->is_number_unsigned()) {
        const std::uint64_t u = it->get<std::uint64_t>();
        inRange = u <= static_cast<std::uint64_t>(high);
        value = inRange ? static_cast<std::int64_t>(u) : 0;
    } else if (it->is_number_integer()) {
        value = it->get<std::int64_t>();
        inRange = value <= high;
    }
    if (!it->is_number_integer() || !inRange || value < low) {
        problem = FormatText("\"%s\" is not a whole number from %lld to %lld", key,
                             static_cast<long long>(low), static_cast<long long>(high));
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

// The object `key` of `parent`; null, with `problem`, when it is missing or no object.
const ReadJson* ReadObject(const ReadJson& parent, const char* key, std::string& problem) {
    const auto it = parent.find(key);
    if (it != parent.end() && it->is_object()) return &*it;
    problem = FormatText("\"%s\" is missing or is no object", key);
    return nullptr;
}

constexpr std::int64_t kIntMax = INT32_MAX;
constexpr std::int64_t kIntMin = INT32_MIN;

bool ReadRecord(const ReadJson& s16, SheetFrame& frame, std::string& problem) {
    S16Icon& r = frame.record;
    frame.described = true;
    if (!ReadInt(s16, "icon", 1, static_cast<std::int64_t>(kMaxFrames), frame.icon, problem))
        return false;
    const std::pair<const char*, std::int32_t*> fields[] = {
        {"Width", &r.Width},      {"Height", &r.Height}, {"StartX", &r.StartX},
        {"StartY", &r.StartY},    {"TWidth", &r.TWidth}, {"THeight", &r.THeight},
        {"Starts", &r.Starts},    {"Bytes", &r.Bytes},   {"Compress", &r.Compress},
        {"Reserved", &r.Reserved}};
    for (const auto& [key, field] : fields) {
        int value = 0;
        if (!ReadInt(s16, key, kIntMin, kIntMax, value, problem)) return false;
        *field = value;
    }
    if (s16.contains("sharesDataOf") &&
        !ReadInt(s16, "sharesDataOf", 1, frame.icon - 1, frame.sharesDataOf, problem))
        return false;
    if (IsEmptyIconRecord(r)) return true;
    if (r.TWidth != frame.sourceWidth || r.THeight != frame.sourceHeight) {
        problem = FormatText("its icon is %d x %d but \"sourceSize\" is %d x %d", r.TWidth,
                             r.THeight, frame.sourceWidth, frame.sourceHeight);
        return false;
    }
    if (r.Width < 1 || r.Height < 1 || r.StartX < 0 || r.StartY < 0 ||
        static_cast<std::int64_t>(r.StartX) + r.Width > r.TWidth ||
        static_cast<std::int64_t>(r.StartY) + r.Height > r.THeight) {
        problem = FormatText("its stored area (%d x %d at %d, %d) does not lie inside the icon",
                             r.Width, r.Height, r.StartX, r.StartY);
        return false;
    }
    return true;
}

bool ReadFrame(const ReadJson& value, SheetFrame& frame, std::string& problem) {
    if (!value.is_object()) {
        problem = "it is no object";
        return false;
    }
    const ReadJson* box = ReadObject(value, "frame", problem);
    if (!box || !ReadInt(*box, "x", 0, kIntMax, frame.x, problem) ||
        !ReadInt(*box, "y", 0, kIntMax, frame.y, problem) ||
        !ReadInt(*box, "w", 0, kIntMax, frame.w, problem) ||
        !ReadInt(*box, "h", 0, kIntMax, frame.h, problem))
        return false;
    const auto rotated = value.find("rotated");
    if (rotated != value.end() && *rotated != false) {
        problem = "rotated frames cannot be read";
        return false;
    }
    frame.sourceWidth = frame.w;
    frame.sourceHeight = frame.h;
    if (value.contains("sourceSize")) {
        const ReadJson* size = ReadObject(value, "sourceSize", problem);
        if (!size || !ReadInt(*size, "w", 0, kIntMax, frame.sourceWidth, problem) ||
            !ReadInt(*size, "h", 0, kIntMax, frame.sourceHeight, problem))
            return false;
    }
    if (value.contains("spriteSourceSize")) {
        const ReadJson* place = ReadObject(value, "spriteSourceSize", problem);
        if (!place || !ReadInt(*place, "x", 0, kIntMax, frame.offsetX, problem) ||
            !ReadInt(*place, "y", 0, kIntMax, frame.offsetY, problem))
            return false;
    }
    if (static_cast<std::int64_t>(frame.offsetX) + frame.w > frame.sourceWidth ||
        static_cast<std::int64_t>(frame.offsetY) + frame.h > frame.sourceHeight) {
        problem = "its pixels do not lie inside \"sourceSize\"";
        return false;
    }
    const auto s16 = value.find("s16");
    if (s16 != value.end()) {
        if (!s16->is_object()) {
            problem = "\"s16\" is no object";
            return false;
        }
        if (!ReadRecord(*s16, frame, problem)) return false;
        if (IsEmptyIconRecord(frame.record)) return true;
    }
    if (!s16::DecodableIconSize(frame.sourceWidth, frame.sourceHeight)) {
        problem = FormatText(
            "an icon of %d x %d is over the limits of an icon (%d x %d, %d "
            "pixels)",
            frame.sourceWidth, frame.sourceHeight, s16::kMaxIconWidth, s16::kMaxIconHeight,
            s16::kMaxIconPixels);
        return false;
    }
    return true;
}

// Described frames by icon number (each number once), then the others by name.
bool OrderFrames(std::vector<SheetFrame>& frames, std::string& problem) {
    std::stable_sort(frames.begin(), frames.end(), [](const SheetFrame& a, const SheetFrame& b) {
        if (a.described != b.described) return a.described;
        return a.described ? a.icon < b.icon : a.name < b.name;
    });
    for (std::size_t i = 1; i < frames.size(); ++i) {
        if (frames[i].described && frames[i].icon == frames[i - 1].icon) {
            problem =
                FormatText("frames \"%s\" and \"%s\" are both icon %d", frames[i - 1].name.c_str(),
                           frames[i].name.c_str(), frames[i].icon);
            return false;
        }
    }
    return true;
}

}  // namespace

SheetDescription DescribeSheet(const S16Image& image, const SheetLayout& layout,
                               const std::string& imageName, const std::string& frameStem,
                               const std::string& frameExtension) {
    SheetDescription description;
    description.image = imageName;
    description.width = layout.Width();
    description.height = layout.Height();
    const IconDataMap map = MapIconData(image, 0, false);
    for (int k = 1; k <= layout.count; ++k) {
        SheetFrame frame;
        frame.name = FormatText("%s_%03d%s", frameStem.c_str(), k, frameExtension.c_str());
        frame.record = image.Icon(k);
        const bool empty = IsEmptyIconRecord(frame.record);
        frame.x = layout.CellX(k);
        frame.y = layout.CellY(k);
        frame.w = frame.sourceWidth = empty ? 0 : frame.record.TWidth;
        frame.h = frame.sourceHeight = empty ? 0 : frame.record.THeight;
        frame.described = true;
        frame.icon = k;
        const int owner = map.owner[static_cast<std::size_t>(k - 1)];
        if (!map.Overlaps() && owner != k && !empty) frame.sharesDataOf = owner;
        description.frames.push_back(std::move(frame));
    }
    return description;
}

std::string SheetJsonText(const SheetDescription& description) {
    // One frame a line: readable, and cheap to write for any number of frames.
    const auto dump = [](const Json& json) {
        // Names come from file names, which need not be UTF-8.
        return json.dump(-1, ' ', false, Json::error_handler_t::replace);
    };
    std::string text = "{\"frames\": {";
    const char* separator = "\n";
    for (const SheetFrame& frame : description.frames) {
        const bool trimmed = frame.offsetX != 0 || frame.offsetY != 0 ||
                             frame.w != frame.sourceWidth || frame.h != frame.sourceHeight;
        Json value{{"frame", Box(frame.x, frame.y, frame.w, frame.h)},
                   {"rotated", false},
                   {"trimmed", trimmed},
                   {"spriteSourceSize", Box(frame.offsetX, frame.offsetY, frame.w, frame.h)},
                   {"sourceSize", Json{{"w", frame.sourceWidth}, {"h", frame.sourceHeight}}}};
        if (frame.described) value["s16"] = RecordJson(frame);
        text += separator + dump(Json(frame.name)) + ": " + dump(value);
        separator = ",\n";
    }
    const Json meta{{"app", "varnok-dat"},
                    {"image", description.image},
                    {"format", description.format},
                    {"size", Json{{"w", description.width}, {"h", description.height}}},
                    {"scale", "1"}};
    return text + "\n},\n\"meta\": " + dump(meta) + "\n}\n";
}

bool ParseSheetJson(std::string_view text, SheetDescription& out, std::string& problem) {
    out = SheetDescription{};
    const ReadJson root = ReadJson::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        problem = root.is_discarded() ? "it is not JSON" : "it is no JSON object";
        return false;
    }
    const auto frames = root.find("frames");
    if (frames == root.end() || !(frames->is_object() || frames->is_array())) {
        problem = "\"frames\" is missing or is neither an object nor a list";
        return false;
    }
    if (frames->size() > kMaxFrames) {
        problem = FormatText("it has %zu frames, more than %zu", frames->size(), kMaxFrames);
        return false;
    }
    for (auto it = frames->begin(); it != frames->end(); ++it) {
        SheetFrame frame;
        if (frames->is_object()) {
            frame.name = it.key();
        } else if (it->is_object() && it->contains("filename") && (*it)["filename"].is_string()) {
            frame.name = (*it)["filename"].get<std::string>();  // the list layout
        }
        if (!ReadFrame(*it, frame, problem)) {
            problem = FormatText("frame \"%s\": %s", frame.name.c_str(), problem.c_str());
            return false;
        }
        out.frames.push_back(std::move(frame));
    }
    if (out.frames.empty()) {
        problem = "it has no frame";
        return false;
    }
    const auto meta = root.find("meta");
    if (meta != root.end() && meta->is_object()) {
        const auto image = meta->find("image");
        if (image != meta->end() && image->is_string()) out.image = image->get<std::string>();
    }
    return OrderFrames(out.frames, problem);
}
