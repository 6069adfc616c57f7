#include "app/QtSurface.h"

#include <QImage>
#include <QPainter>
#include <cstdlib>

QImage ToImage(const DibView& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            const ColorValue c = picture.ColorAt(x, y);
            line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        }
    }
    return image;
}

void QtSurface::FillRect(int x, int y, int w, int h, ColorValue color) {
    painter_.fillRect(x, y, w, h, QColor(RedOf(color), GreenOf(color), BlueOf(color)));
}

void QtSurface::StretchDib(int x, int y, int w, int h, const DibView& picture) {
    if (!picture.pixels || w == 0 || h == 0 || picture.width <= 0 || picture.height <= 0) return;
    QImage image = ToImage(picture).mirrored(w < 0, h < 0);
    const QRect target(w < 0 ? x + w : x, h < 0 ? y + h : y, std::abs(w), std::abs(h));
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.drawImage(target, image);
    painter_.restore();
}
