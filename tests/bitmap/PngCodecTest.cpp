// PNG files of every kind that Pillow, ImageMagick and a plain writer make
// decode to the expected RGBA; what is written here reads back here and in
// Pillow unchanged; damaged files are refused with a short reason.
#include <gtest/gtest.h>

#include <sstream>

#include "TestFiles.h"
#include "bitmap/PictureLimits.h"
#include "bitmap/PngCodec.h"

namespace {

bool HavePillow() {
    return HaveProgram("/usr/bin/python3") &&
           RunShell("/usr/bin/python3 -c 'import PIL' 2>/dev/null");
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutU32Be(Bytes& out, std::uint32_t v) {
    out.insert(out.end(), {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                           static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
}

// A PNG signature and an IHDR chunk with a valid checksum, nothing after it.
Bytes PngHead(std::uint32_t width, std::uint32_t height) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutU32Be(out, 13);
    const std::size_t typeAt = out.size();
    out.insert(out.end(), {'I', 'H', 'D', 'R'});
    PutU32Be(out, width);
    PutU32Be(out, height);
    out.insert(out.end(), {8, 6, 0, 0, 0});
    PutU32Be(out, Crc32(out.data() + typeAt, out.size() - typeAt));
    return out;
}

RgbaPicture Sample(int width, int height, bool opaque) {
    RgbaPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.pixels.insert(
                picture.pixels.end(),
                {static_cast<std::uint8_t>(x * 17), static_cast<std::uint8_t>(y * 29),
                 static_cast<std::uint8_t>(x ^ y),
                 static_cast<std::uint8_t>(opaque ? 255 : x * y)});
        }
    }
    return picture;
}

}  // namespace

TEST(PngCodec, DecodesEveryColourTypeAndBitDepth) {
    if (!HavePillow()) GTEST_SKIP() << "Pillow is not installed";
    TempDir dir;
    const std::string convert = HaveProgram("/usr/bin/convert") ? " /usr/bin/convert" : "";
    ASSERT_TRUE(RunShell("/usr/bin/python3 " + std::string(VARNOK_TEST_DATA) + "/png_samples.py " +
                         dir.Path() + convert));
    std::istringstream names(ReadFileText(dir / "list.txt"));
    int decoded = 0;
    for (std::string name; std::getline(names, name);) {
        if (name.empty()) continue;
        SCOPED_TRACE(name);
        const Bytes file = ReadFileBytes(dir / (name + ".png"));
        EXPECT_TRUE(LooksLikePng(file));
        RgbaPicture picture;
        std::string error;
        ASSERT_TRUE(DecodePng(file, picture, error)) << error;
        EXPECT_EQ(picture.width, 13);
        EXPECT_EQ(picture.height, 5);
        EXPECT_EQ(picture.pixels, ReadFileBytes(dir / (name + ".rgba")));
        ++decoded;
    }
    EXPECT_GE(decoded, 15);
}

TEST(PngCodec, WhatIsWrittenReadsBackHereAndInPillow) {
    TempDir dir;
    const RgbaPicture translucent = Sample(7, 4, false);
    const RgbaPicture opaque = Sample(9, 3, true);
    for (const bool rgbWhenOpaque : {false, true}) {
        for (const RgbaPicture* picture : {&translucent, &opaque}) {
            SCOPED_TRACE(testing::Message() << rgbWhenOpaque << " " << picture->width);
            Bytes png;
            std::string error;
            ASSERT_TRUE(EncodePng(*picture, png, error, rgbWhenOpaque)) << error;
            // The IHDR colour type: RGB only when asked for and every pixel is opaque.
            ASSERT_GT(png.size(), 25u);
            EXPECT_EQ(png[25], rgbWhenOpaque && picture == &opaque ? 2 : 6);
            RgbaPicture back;
            ASSERT_TRUE(DecodePng(png, back, error)) << error;
            EXPECT_EQ(back.width, picture->width);
            EXPECT_EQ(back.height, picture->height);
            EXPECT_EQ(back.pixels, picture->pixels);

            if (!HavePillow()) continue;
            WriteFileBytes(dir / "out.png", png);
            ASSERT_TRUE(
                RunShell("/usr/bin/python3 -c \"from PIL import Image; "
                         "open('" +
                         (dir / "out.rgba") + "', 'wb').write(Image.open('" + (dir / "out.png") +
                         "').convert('RGBA').tobytes())\""));
            EXPECT_EQ(ReadFileBytes(dir / "out.rgba"), picture->pixels);
        }
    }
}

TEST(PngCodec, RefusesDamagedFilesWithAShortReason) {
    Bytes png;
    std::string error;
    ASSERT_TRUE(EncodePng(Sample(6, 6, false), png, error));
    RgbaPicture kept = Sample(1, 1, true);
    const RgbaPicture before = kept;

    EXPECT_FALSE(DecodePng({}, kept, error));
    EXPECT_EQ(error, "not a PNG file");
    const Bytes bmp{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(LooksLikePng(bmp));
    EXPECT_FALSE(DecodePng(bmp, kept, error));
    EXPECT_EQ(error, "not a PNG file");

    // Every cut inside the compressed data is refused, most of them as
    // truncated; a file that lacks only its last checksum and closing chunk
    // holds the whole picture (the compressed stream has a checksum of its own).
    int truncated = 0;
    constexpr std::size_t kEndChunk = 12;
    for (std::size_t length = 8; length < png.size() - kEndChunk - 4; ++length) {
        const std::span<const std::uint8_t> cut(png.data(), length);
        EXPECT_FALSE(DecodePng(cut, kept, error)) << length;
        truncated += error == "truncated";
    }
    EXPECT_GT(truncated, static_cast<int>(png.size()) / 2);
    EXPECT_TRUE(DecodePng({png.data(), png.size() - kEndChunk}, kept, error)) << error;
    kept = before;

    // A flipped bit anywhere after the signature is caught by a checksum or the
    // decoder; a picture that decodes anyway must have the stated size.
    for (std::size_t at = 8; at < png.size(); ++at) {
        Bytes damaged = png;
        damaged[at] ^= 0x10;
        RgbaPicture picture;
        if (DecodePng(damaged, picture, error)) {
            EXPECT_EQ(picture.pixels.size(),
                      static_cast<std::size_t>(picture.width) * picture.height * 4);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    Bytes badCrc = png;
    badCrc[19] ^= 1;  // the IHDR's width: 7 instead of 6
    EXPECT_FALSE(DecodePng(badCrc, kept, error));
    EXPECT_EQ(error, "damaged (checksum mismatch)");

    // A header that claims more pixels than any picture may have is refused
    // before anything is allocated.
    EXPECT_FALSE(DecodePng(PngHead(100000, 100000), kept, error));
    EXPECT_EQ(error, "image too large");
    EXPECT_FALSE(
        DecodePng(PngHead(1, static_cast<std::uint32_t>(kMaxPicturePixels) + 1), kept, error));
    EXPECT_EQ(error, "image too large");
    EXPECT_FALSE(DecodePng(PngHead(3000, 3000), kept, error));
    EXPECT_EQ(error, "truncated");
    EXPECT_EQ(kept.pixels, before.pixels);

    RgbaPicture wrong{2, 2, Bytes(15, 0)};
    EXPECT_FALSE(EncodePng(wrong, png, error));
    EXPECT_EQ(error, "pixel data do not match the picture's size");
    EXPECT_FALSE(EncodePng(RgbaPicture{}, png, error));
    EXPECT_EQ(error, "empty picture");
}
