// SHP frames per second: coding, decoding and converting to S16, for small
// and full-size frames.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <string>
#include <vector>

#include "shp/ShpConversion.h"
#include "shp/ShpFrameImage.h"
#include "shp/ShpImage.h"
#include "support/ByteIo.h"
#include "support/Paths.h"
#include "support/SafeFileWriter.h"

namespace {

// A picture of blobs on a transparent ground, in colours that repeat, as
// sprites are.
void MakeFrame(ShpFrameImage& picture, int width, int height) {
    picture.Create(width, height, 24, false);
    picture.Allocate();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inside = ((x / 24) + (y / 16)) % 3 != 0;
            picture.SetColor(
                x, y, inside ? MakeColor((x / 8) * 16 % 256, (y / 8) * 24 % 256, 90) : 0xF8E4D8);
        }
    }
}

std::vector<std::uint8_t> ShpFileOf(int width, int height) {
    ShpFrameImage picture;
    MakeFrame(picture, width, height);
    std::vector<std::uint8_t> frame;
    ShpFrameHeader header;
    picture.WriteShpFrame(frame, header);
    std::vector<std::uint8_t> out{'1', '.', '1', '0'};
    ByteWriter w(out);
    w.I32(1);
    w.U32(16);
    w.U32(0);
    out.insert(out.end(), frame.begin(), frame.end());
    return out;
}

std::string ScratchPath(const char* name) {
    return TemporaryFolder() + "varnok-bench-" + std::to_string(::getpid()) + name;
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({64, 64})->Args({640, 480});
}

void BM_WriteShpFrame(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    ShpFrameImage source;
    MakeFrame(source, w, h);
    for (auto _ : state) {
        state.PauseTiming();
        ShpFrameImage picture;
        picture.Create(w, h, 24, false);
        picture.Allocate();
        source.CopyRect(0, 0, w, h, picture, 0, 0);
        std::vector<std::uint8_t> out;
        ShpFrameHeader header;
        state.ResumeTiming();
        benchmark::DoNotOptimize(picture.WriteShpFrame(out, header));
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("frames");
}

void BM_DecodeFrame(benchmark::State& state) {
    const std::string path = ScratchPath("-decode.shp");
    WriteWholeFile(path,
                   ShpFileOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    ShpImage image;
    image.Open(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(image.DecodeFrame());
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("frames");
    std::remove(path.c_str());
}

void BM_ConvertShpToS16(benchmark::State& state) {
    const std::string shp = ScratchPath("-convert.shp");
    const std::string s16 = ScratchPath("-convert.s16");
    WriteWholeFile(shp,
                   ShpFileOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertShpToS16(shp, s16));
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("frames (one-frame files, file writes included)");
    std::remove(shp.c_str());
    std::remove(s16.c_str());
}

}  // namespace

BENCHMARK(BM_WriteShpFrame)->Apply(Sizes);
BENCHMARK(BM_DecodeFrame)->Apply(Sizes);
BENCHMARK(BM_ConvertShpToS16)->Apply(Sizes);
BENCHMARK_MAIN();
