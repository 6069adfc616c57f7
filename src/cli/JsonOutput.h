#pragma once
// The --json documents of varnok-dat: one document per command on standard
// output, built from the same core results the text output is made from.

#include <nlohmann/json.hpp>
#include <ostream>

// Objects keep their fields in the order they are documented.
using Json = nlohmann::ordered_json;

inline constexpr const char* kJsonHelp =
    "print one JSON document instead of text (its fields: the README, \"Scripting\")";

struct DatEntry;
struct S16Icon;
struct ShpFrameHeader;

// Writes `document` and a newline. Bytes that are not UTF-8 (item names are
// taken from files) become U+FFFD rather than stopping the output.
void PrintJson(std::ostream& out, const Json& document);

// An archive item: index (1-based, as #N), name, offset, size, icons (null
// when the item is not a readable S16).
Json ItemJson(const DatEntry& entry, int index);
// The ten fields of an icon record with its number.
Json IconJson(const S16Icon& icon, int number);
// An SHP frame header with its number.
Json FrameJson(const ShpFrameHeader& header, int number);
