// Decoding and coding of icons, in pixels per second, next to a memcpy of the
// decoded bytes as the physical reference.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "sprite/IconDecoder.h"
#include "sprite/IconEncoder.h"

namespace {

// A picture with stretches of equal colour (coded as runs) or noise (raw).
void MakePicture(PixelBuffer24& picture, int width, int height, bool runs) {
    picture.Create(width, height, 24, false);
    picture.Allocate();
    unsigned seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const ColorValue c =
                runs ? MakeColor((x / 16) * 8, (y / 8) * 4, 64) : (seed >> 8) & 0xFFFFFF;
            picture.SetColor(x, y, c);
        }
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (auto [w, h] : {std::pair{40, 40}, {160, 120}, {640, 480}})
        b->Args({w, h});
}

void Decode(benchmark::State& state, bool runs) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    PixelBuffer24 source;
    MakePicture(source, w, h, runs);
    CodedIcon icon;
    EncodeIcon(source, icon);
    PixelBuffer24 target;
    target.Create(w, h, 24, false);
    target.Allocate();
    for (auto _ : state) {
        FillWithKeyColour(target);
        benchmark::DoNotOptimize(DecodeIconData(icon.record, icon.data, target));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
    state.SetLabel(icon.record.IsRunLength() ? "run-length" : "raw");
}

void BM_DecodeRaw(benchmark::State& state) {
    Decode(state, false);
}
void BM_DecodeRunLength(benchmark::State& state) {
    Decode(state, true);
}

void Encode(benchmark::State& state, bool runs) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    PixelBuffer24 source;
    MakePicture(source, w, h, runs);
    for (auto _ : state) {
        CodedIcon icon;
        benchmark::DoNotOptimize(EncodeIcon(source, icon));
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void BM_EncodeRaw(benchmark::State& state) {
    Encode(state, false);
}
void BM_EncodeRunLength(benchmark::State& state) {
    Encode(state, true);
}

// The physical reference: copying the decoded picture's bytes.
void BM_MemcpyDecodedBytes(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    std::vector<std::uint8_t> from(static_cast<std::size_t>(w) * h * 3, 7), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

}  // namespace

BENCHMARK(BM_MemcpyDecodedBytes)->Apply(Sizes);
BENCHMARK(BM_DecodeRaw)->Apply(Sizes);
BENCHMARK(BM_DecodeRunLength)->Apply(Sizes);
BENCHMARK(BM_EncodeRaw)->Apply(Sizes);
BENCHMARK(BM_EncodeRunLength)->Apply(Sizes);
BENCHMARK_MAIN();
