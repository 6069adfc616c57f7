#pragma once
// The 40-byte icon record of an S16 file: where an icon's stored area lies in
// the icon, and where and how its pixels are coded.

#include <cstdint>
#include <vector>

class ByteReader;

struct S16Icon {
    std::int32_t Width = 0;   // stored area, pixels
    std::int32_t Height = 0;  // stored area, rows
    std::int32_t StartX = 0;  // stored area's left column in the icon
    std::int32_t StartY = 0;  // stored area's top row in the icon
    std::int32_t TWidth = 0;  // whole icon
    std::int32_t THeight = 0;
    std::int32_t Starts = 0;    // data offset from the start of the pixel data area
    std::int32_t Bytes = 0;     // data length
    std::int32_t Compress = 0;  // 1 = run-length coded, anything else raw
    std::int32_t Reserved = 0;

    static S16Icon Read(ByteReader& in);
    void AppendTo(std::vector<std::uint8_t>& out) const;
    bool IsRunLength() const { return Compress == 1; }
    bool operator==(const S16Icon&) const = default;
};

// One coded icon: its record and its coded pixel data. A placeholder stands
// for an icon that could not be made and is written as a zero record. An icon
// that uses the data of another icon of the same list names it in
// `sharedWith` (an index into the list) and holds no data of its own.
struct CodedIcon {
    S16Icon record;
    std::vector<std::uint8_t> data;
    bool placeholder = false;
    int sharedWith = -1;
};

// The bytes of a whole S16 file holding `icons` in order; each record's Starts
// and Bytes are set so that the data lie back to back, data shared by several
// icons written once.
std::vector<std::uint8_t> BuildS16File(std::vector<CodedIcon>& icons);
