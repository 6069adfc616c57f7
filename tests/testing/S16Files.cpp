#include "S16Files.h"

#include "sprite/IconEncoder.h"

Bytes S16Bytes(const std::vector<S16Icon>& records, const Bytes& data) {
    Bytes out;
    PutU32(out, static_cast<std::uint32_t>(records.size()));
    for (const S16Icon& r : records)
        r.AppendTo(out);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes RunData(const std::vector<std::pair<int, std::uint16_t>>& runs) {
    Bytes out;
    for (const auto& [count, word] : runs) {
        out.push_back(static_cast<std::uint8_t>(count));
        PutU16(out, word);
    }
    return out;
}

Bytes RawData(const std::vector<std::uint16_t>& words) {
    Bytes out;
    for (std::uint16_t w : words)
        PutU16(out, w);
    return out;
}

S16Icon Record(int w, int h, int x, int y, int tw, int th, int starts, int bytes, int compress) {
    S16Icon r;
    r.Width = w;
    r.Height = h;
    r.StartX = x;
    r.StartY = y;
    r.TWidth = tw;
    r.THeight = th;
    r.Starts = starts;
    r.Bytes = bytes;
    r.Compress = compress;
    return r;
}

void Paint(PixelBuffer24& picture, int width, int height,
           const std::function<ColorValue(int, int)>& color) {
    picture.Create(width, height, 24, false);
    picture.Allocate();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.SetColor(x, y, color(x, y));
    }
}

Bytes CodedS16(int count, int w, int h, const std::function<ColorValue(int, int, int)>& color) {
    std::vector<CodedIcon> icons(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        PixelBuffer24 picture;
        Paint(picture, w, h, [&](int x, int y) { return color(k + 1, x, y); });
        EncodeIcon(picture, icons[static_cast<std::size_t>(k)]);
    }
    return BuildS16File(icons);
}
