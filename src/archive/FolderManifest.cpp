#include "archive/FolderManifest.h"

#include <nlohmann/json.hpp>

#include "archive/DatEntry.h"
#include "archive/ItemNames.h"
#include "support/Messages.h"

// Written in a fixed field order; read into maps, fast for any file.
using Json = nlohmann::ordered_json;
using ReadJson = nlohmann::json;

namespace {

constexpr const char* kKind = "varnok-dat archive folder";
constexpr const char* kHexDigits = "0123456789ABCDEF";

std::string NameText(const std::array<char, dat::kNameSize>& name) {
    DatEntry entry;
    entry.name = name;
    return entry.Name();
}

// True when the name is printable ASCII written as the text pads it: the
// text alone gives the same bytes back.
bool TextKeepsName(const std::array<char, dat::kNameSize>& name) {
    const std::string text = NameText(name);
    for (char c : text) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    DatEntry padded;
    padded.SetName(text);
    return padded.name == name;
}

std::string Hex(const std::array<char, dat::kNameSize>& name) {
    std::string hex;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kHexDigits[byte >> 4];
        hex += kHexDigits[byte & 15];
    }
    return hex;
}

bool FromHex(const std::string& hex, std::array<char, dat::kNameSize>& name) {
    if (hex.size() != 2 * name.size()) return false;
    const auto digit = [](char c) {
        const char upper = static_cast<char>(c >= 'a' && c <= 'f' ? c - 32 : c);
        const char* at = std::char_traits<char>::find(kHexDigits, 16, upper);
        return at ? static_cast<int>(at - kHexDigits) : -1;
    };
    for (std::size_t i = 0; i < name.size(); ++i) {
        const int high = digit(hex[2 * i]), low = digit(hex[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        name[i] = static_cast<char>(high * 16 + low);
    }
    return true;
}

// The string `key` of `item` when present; false, with `problem`, when it is
// there but not a plain file name.
bool ReadFileName(const ReadJson& item, const char* key, std::string& out, std::string& problem) {
    const auto it = item.find(key);
    if (it == item.end()) return true;
    if (!it->is_string() || !IsPlainItemName(it->get<std::string>()) ||
        it->get<std::string>().empty()) {
        problem = FormatText("\"%s\" is not a plain file name", key);
        return false;
    }
    out = it->get<std::string>();
    return true;
}

bool ReadItem(const ReadJson& item, ManifestItem& out, std::string& problem) {
    if (!item.is_object()) {
        problem = "it is no object";
        return false;
    }
    const auto bytes = item.find("nameBytes");
    const auto name = item.find("name");
    if (bytes != item.end()) {
        if (!bytes->is_string() || !FromHex(bytes->get<std::string>(), out.name)) {
            problem = FormatText("\"nameBytes\" is not %zu bytes in hexadecimal", out.name.size());
            return false;
        }
    } else if (name != item.end() && name->is_string() &&
               name->get<std::string>().size() <= dat::kNameSize &&
               !name->get<std::string>().empty()) {
        DatEntry entry;
        entry.SetName(name->get<std::string>());
        out.name = entry.name;
    } else {
        problem = FormatText("\"name\" is missing or is not a name of 1 to %d characters",
                             dat::kNameSize);
        return false;
    }
    if (!ReadFileName(item, "sheet", out.sheet, problem) ||
        !ReadFileName(item, "file", out.file, problem))
        return false;
    if (out.sheet.empty() == out.file.empty()) {
        problem = "it needs either \"sheet\" or \"file\"";
        return false;
    }
    return true;
}

}  // namespace

std::string ManifestText(const FolderManifest& manifest) {
    Json items = Json::array();
    for (const ManifestItem& item : manifest.items) {
        Json entry{{"name", NameText(item.name)}};
        if (!TextKeepsName(item.name)) entry["nameBytes"] = Hex(item.name);
        if (!item.sheet.empty())
            entry["sheet"] = item.sheet;
        else
            entry["file"] = item.file;
        items.push_back(std::move(entry));
    }
    const Json root{{"kind", kKind},
                    {"version", 1},
                    {"archive", manifest.archive},
                    {"items", std::move(items)}};
    return root.dump(1, '\t', false, Json::error_handler_t::replace) + "\n";
}

bool ParseManifest(std::string_view text, FolderManifest& out, std::string& problem) {
    out = FolderManifest{};
    const ReadJson root = ReadJson::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        problem = root.is_discarded() ? "it is not JSON" : "it is no JSON object";
        return false;
    }
    const auto items = root.find("items");
    if (items == root.end() || !items->is_array()) {
        problem = "\"items\" is missing or is no list";
        return false;
    }
    const auto archive = root.find("archive");
    if (archive != root.end() && archive->is_string()) out.archive = archive->get<std::string>();
    for (std::size_t i = 0; i < items->size(); ++i) {
        ManifestItem item;
        if (!ReadItem((*items)[i], item, problem)) {
            problem = FormatText("item %zu: %s", i + 1, problem.c_str());
            return false;
        }
        out.items.push_back(std::move(item));
    }
    return true;
}
