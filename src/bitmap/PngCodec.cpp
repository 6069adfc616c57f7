#include "bitmap/PngCodec.h"

#include <spng.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "bitmap/PictureLimits.h"

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Ancillary chunks (text, colour profiles) the library may keep while reading;
// past this a file is refused rather than allowed to grow memory without end.
constexpr std::size_t kChunkCacheLimit = 16u << 20;

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

std::string Reason(int code) {
    switch (code) {
        case SPNG_ESIGNATURE:
            return "not a PNG file";
        case SPNG_IO_EOF:
        case SPNG_EOF:
        case SPNG_EIDAT_TOO_SHORT:
            return "truncated";
        case SPNG_EUSER_WIDTH:
        case SPNG_EUSER_HEIGHT:
        case SPNG_ECHUNK_LIMITS:
            return "image too large";
        case SPNG_EMEM:
            return "not enough memory";
        case SPNG_ECHUNK_CRC:
            return "damaged (checksum mismatch)";
        default:
            return std::string("damaged (") + spng_strerror(code) + ")";
    }
}

}  // namespace

bool LooksLikePng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= sizeof kSignature &&
           std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

bool DecodePng(std::span<const std::uint8_t> bytes, RgbaPicture& out, std::string& error) {
    if (!LooksLikePng(bytes)) {
        error = "not a PNG file";
        return false;
    }
    Context context(spng_ctx_new(0));
    if (!context) {
        error = "not enough memory";
        return false;
    }
    spng_ctx* ctx = context.get();
    spng_set_image_limits(ctx, static_cast<std::uint32_t>(kMaxPicturePixels),
                          static_cast<std::uint32_t>(kMaxPicturePixels));
    spng_set_chunk_limits(ctx, std::max<std::size_t>(bytes.size(), 1), kChunkCacheLimit);
    int code = spng_set_png_buffer(ctx, bytes.data(), bytes.size());
    spng_ihdr header{};
    if (code == 0) code = spng_get_ihdr(ctx, &header);
    if (code != 0) {
        error = Reason(code);
        return false;
    }
    if (!WithinPictureLimits(header.width, header.height)) {
        error = "image too large";
        return false;
    }
    std::size_t size = 0;
    code = spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size);
    if (code != 0) {
        error = Reason(code);
        return false;
    }
    std::vector<std::uint8_t> pixels;
    try {
        pixels.resize(size);
    } catch (const std::bad_alloc&) {
        error = "not enough memory";
        return false;
    }
    // No gamma correction: the samples are taken as they are stored, so that
    // a picture written here reads back unchanged.
    code = spng_decode_image(ctx, pixels.data(), pixels.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
    if (code != 0) {
        error = Reason(code);
        return false;
    }
    out.width = static_cast<int>(header.width);
    out.height = static_cast<int>(header.height);
    out.pixels = std::move(pixels);
    return true;
}

bool EncodePng(const RgbaPicture& picture, std::vector<std::uint8_t>& out, std::string& error,
               bool rgbWhenOpaque) {
    if (!WithinPictureLimits(picture.width, picture.height)) {
        error = picture.width < 1 || picture.height < 1 ? "empty picture" : "image too large";
        return false;
    }
    const std::size_t pixelCount =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (picture.pixels.size() != pixelCount * 4) {
        error = "pixel data do not match the picture's size";
        return false;
    }
    bool withAlpha = true;
    std::vector<std::uint8_t> rgb;
    if (rgbWhenOpaque) {
        withAlpha = false;
        for (std::size_t i = 3; i < picture.pixels.size() && !withAlpha; i += 4)
            withAlpha = picture.pixels[i] != 255;
        if (!withAlpha) {
            rgb.resize(pixelCount * 3);
            for (std::size_t i = 0; i < pixelCount; ++i)
                std::memcpy(&rgb[3 * i], &picture.pixels[4 * i], 3);
        }
    }
    Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) {
        error = "not enough memory";
        return false;
    }
    spng_ctx* ctx = context.get();
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(picture.width);
    header.height = static_cast<std::uint32_t>(picture.height);
    header.bit_depth = 8;
    header.color_type = withAlpha ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
    int code = spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    if (code == 0) code = spng_set_ihdr(ctx, &header);
    const std::vector<std::uint8_t>& image = withAlpha ? picture.pixels : rgb;
    if (code == 0)
        code =
            spng_encode_image(ctx, image.data(), image.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    if (code != 0) {
        error = code == SPNG_EMEM ? "not enough memory" : spng_strerror(code);
        return false;
    }
    std::size_t length = 0;
    void* buffer = spng_get_png_buffer(ctx, &length, &code);
    if (!buffer || code != 0) {
        std::free(buffer);
        error = code == SPNG_EMEM ? "not enough memory" : spng_strerror(code);
        return false;
    }
    const auto* begin = static_cast<const std::uint8_t*>(buffer);
    out.assign(begin, begin + length);
    std::free(buffer);
    return true;
}
