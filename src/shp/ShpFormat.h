#pragma once
// Sizes, limits and the frame header of the SHP sprite format.

#include <cstdint>
#include <vector>

class ByteReader;

namespace shp {

inline constexpr char kMagic[4] = {'1', '.', '1', '0'};
inline constexpr int kHeaderSize = 8;       // magic and frame count
inline constexpr int kOffsetEntrySize = 8;  // frame offset and a reserved word
inline constexpr int kFrameHeaderSize = 24;
inline constexpr int kMaxFrameWidth = 640;
inline constexpr int kMaxFrameHeight = 480;
inline constexpr std::size_t kFrameBufferSize = kMaxFrameWidth * kMaxFrameHeight;  // 8-bit rows
inline constexpr int kTransparentIndex = 159;
// SHP files are read whole; larger ones are refused.
inline constexpr std::uint64_t kMaxFileSize = 256ull << 20;

// Code bytes of a coded row.
inline constexpr std::uint8_t kEndOfRow = 0;
inline constexpr std::uint8_t kSkip = 1;
inline constexpr int kMaxRun = 127;
inline constexpr int kMaxSkip = 255;

}  // namespace shp

// The 24-byte header in front of every frame's coded rows.
struct ShpFrameHeader {
    std::int16_t HeightMinus1 = 0;
    std::int16_t WidthMinus1 = 0;
    std::int32_t Reserved = 0;
    std::int32_t Left = 0;    // column at which every coded row starts
    std::int32_t Top = 0;     // first coded row
    std::int32_t Right = 0;   // rightmost opaque column
    std::int32_t Bottom = 0;  // last coded row

    static ShpFrameHeader Read(ByteReader& in);
    void AppendTo(std::vector<std::uint8_t>& out) const;
    int Width() const { return WidthMinus1 + 1; }
    int Height() const { return HeightMinus1 + 1; }
};
