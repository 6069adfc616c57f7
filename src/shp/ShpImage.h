#pragma once
// An SHP file of the other game opened for reading: its frame table, and the
// last decoded frame as an 8-bit picture in the SHP palette.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "shp/ShpFormat.h"

class ShpImage : public PixelBuffer24 {
public:
    ShpImage();
    ~ShpImage() override = default;

    // Reads the file (whole) and its table with frame 1 current. False, with no
    // message, when the file cannot be read.
    bool Open(const std::string& path);
    // Reads a copy of `bytes` as Open reads a file; `name` is what messages
    // call it. False when they are more than an SHP file may hold.
    bool OpenBytes(std::span<const std::uint8_t> bytes, const std::string& name);
    // Reads the frame count and offset table; returns SelectFrame(n).
    int ReadDirectory(int n);
    // Makes frame n current (clamped to 1..count) and reads its header.
    int SelectFrame(int n);
    // Decodes the current frame; returns the pixels produced, 0 when refused.
    int DecodeFrame();
    // Sizes the picture for the current frame (2..640 x 2..480) and fills it
    // with the transparent index; false when the frame is refused.
    bool PrepareFrame();
    // Lays out and draws frames first, first + 1, ... in the area; returns the
    // frames placed. `noMore` tells that the last frame was placed.
    int DrawPage(Surface* surface, const Rect& area, int first, bool& noMore);

    // Why the frame table cannot be what it claims (a count the file cannot
    // hold, a frame outside the file or over the size limits); empty when it can.
    std::string TableProblem();

    int FrameCount() const { return frameCount_; }
    int CurrentFrame() const { return currentFrame_; }
    const ShpFrameHeader& CurrentHeader() const { return header_; }

private:
    // Names the bytes now held and reads their table with frame 1 current.
    void TakeFile(const std::string& name);

    std::vector<std::uint8_t> file_;  // the whole file
    std::vector<std::uint32_t> offsets_;
    std::int64_t storedCount_ = 0;
    int frameCount_ = 0;
    int currentFrame_ = 0;
    ShpFrameHeader header_;
    std::size_t rowsStart_ = 0;  // where the current frame's coded rows begin
    std::vector<std::uint8_t> frameBuffer_;
};
