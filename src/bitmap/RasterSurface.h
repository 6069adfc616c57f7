#pragma once
// A software Surface that draws into a 24-bit picture with nearest-neighbour
// stretching; used by the command line and by the tests.

#include "bitmap/PixelBuffer24.h"
#include "bitmap/Surface.h"

class RasterSurface final : public Surface {
public:
    // A surface of the given size, filled with black.
    RasterSurface(int width, int height);

    void FillRect(int x, int y, int w, int h, ColorValue color) override;
    void StretchDib(int x, int y, int w, int h, const DibView& picture) override;
    void SetStretchMode(StretchMode mode) override { mode_ = mode; }

    ColorValue ColorAt(int x, int y) const { return canvas_.GetColor(x, y); }
    StretchMode Mode() const { return mode_; }
    PixelBuffer24& Canvas() { return canvas_; }
    int Width() const { return canvas_.Width(); }
    int Height() const { return canvas_.Height(); }

private:
    PixelBuffer24 canvas_;
    StretchMode mode_ = StretchMode::Default;
};
