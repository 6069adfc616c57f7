#pragma once
// The largest picture any reader builds, checked before anything is allocated:
// a compressed file can claim a size its few bytes never fill.

#include <cstdint>

inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 25;  // 32 M pixels

inline constexpr bool WithinPictureLimits(std::int64_t width, std::int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPicturePixels && height <= kMaxPicturePixels &&
           width * height <= kMaxPicturePixels;
}

// The largest picture file read whole (a PNG): far beyond what a picture of
// the largest size takes when stored without compression.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{512} << 20;
