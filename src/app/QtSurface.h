#pragma once
// A Surface that paints with QPainter: pictures are stretched pixel by pixel
// (nearest neighbour), a negative width mirrors.

#include "bitmap/Surface.h"

class QPainter;
class QImage;

class QtSurface final : public Surface {
public:
    explicit QtSurface(QPainter& painter) : painter_(painter) {}

    void FillRect(int x, int y, int w, int h, ColorValue color) override;
    void StretchDib(int x, int y, int w, int h, const DibView& picture) override;
    void SetStretchMode(StretchMode) override {}

private:
    QPainter& painter_;
};

// The picture as a 32-bit image, top row first.
QImage ToImage(const DibView& picture);
