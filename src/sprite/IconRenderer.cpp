#include "sprite/IconRenderer.h"

#include <algorithm>
#include <cstring>

#include "sprite/CollageLayout.h"
#include "sprite/S16Image.h"

int DrawIcon(S16Image& image, Surface* surface, const Rect& area, int zoom) {
    if (surface) surface->FillRect(area.left, area.top, area.Width(), area.Height(), kSilver);
    const int decoded = image.DecodeIcon();
    if (decoded < 1) return 0;
    const int areaWidth = area.Width();
    const int areaHeight = area.Height();
    int w = image.Width();
    int h = image.Height();
    if (w > areaWidth || h > areaHeight) {
        // Too large: squeeze each axis that does not fit; the zoom is ignored.
        if (h > areaHeight) h = areaHeight - 2;
        if (w > areaWidth) w = areaWidth - 2;
    } else if (zoom > 1) {
        w = std::min(w * zoom, areaWidth);
        h = std::min(h * zoom, areaHeight);
    }
    if (surface) {
        surface->SetStretchMode(StretchMode::ColorOnColor);
        image.Draw(surface, area.left, area.top, w, h, false);
    }
    return decoded;
}

int DrawCollage(S16Image& image, Surface* surface, const Rect& area, int first, bool& atEnd) {
    if (surface) surface->FillRect(area.left, area.top, area.Width(), area.Height(), kSilver);
    const CollageResult result = LayOutCollage(
        image, first, area.Width(), area.Height(), true, [&](const CollageCell& cell) {
            if (image.DecodeIcon() >= 1)
                image.Draw(surface, area.left + cell.x, area.top + cell.y, cell.width, cell.height,
                           false);
        });
    atEnd = result.lastPlaced >= image.IconCount();
    return result.placed;
}

int CollageSize(S16Image& image, int& maxWidth, int& maxHeight, int first) {
    first = std::max(first, 1);
    const CollageResult result =
        LayOutCollage(image, first, maxWidth, maxHeight, false, [](const CollageCell&) {});
    maxWidth = result.usedWidth;
    maxHeight = result.usedHeight;
    return first;
}

bool ComposeCollage(S16Image& image, const Rect& area, int first, PixelBuffer24& collage) {
    if (image.IconCount() < 1) return false;
    int width = area.Width();
    int height = area.Height();
    first = CollageSize(image, width, height, first);
    if (width < 1 || height < 1) return false;

    collage.Create(width, height, 24, false);
    if (!collage.Allocate()) return false;
    std::memset(collage.Pixels(), 0xC0, collage.ImageSize());
    LayOutCollage(image, first, width, height, false, [&](const CollageCell& cell) {
        if (image.DecodeIcon() >= 1)
            image.CopyRect(0, 0, image.Width(), image.Height(), collage, cell.x, cell.y);
    });
    return true;
}

bool BuildCollage(S16Image& image, const std::string& fileName, const Rect& area, int first) {
    PixelBuffer24 collage;
    return ComposeCollage(image, area, first, collage) && collage.SaveAs24(fileName);
}
