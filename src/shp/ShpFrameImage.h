#pragma once
// One picture turned into an SHP frame: quantized to the SHP palette and
// coded row by row with runs, literals and skips.

#include <cstdint>
#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "shp/ShpFormat.h"

class ShpFrameImage : public PixelBuffer24 {
public:
    ShpFrameImage();

    // Converts a 24- or 32-bit picture in place to SHP palette indexes.
    bool QuantizeToShpPalette();
    // Appends the frame (header and coded rows) to `out`; fills `header` with
    // what was written. Returns the number of bytes appended.
    std::size_t WriteShpFrame(std::vector<std::uint8_t>& out, ShpFrameHeader& header);

private:
    // The index at (x, y); outside the picture the transparent index.
    int IndexAt(int x, int y) const;
    ShpFrameHeader FindBounds() const;
    void WriteRow(int y, const ShpFrameHeader& h, std::vector<std::uint8_t>& out) const;
};

// The palette index nearest to a colour (sum of channel distances, the lower
// index on a tie); pure white is 255. Entry 255 is never found otherwise.
int NearestShpColour(int red, int green, int blue);
