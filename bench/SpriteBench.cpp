// Decoding and coding of icons, in pixels per second; decoding next to a
// memcpy of the decoded bytes as the physical reference (counter x_memcpy).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "sprite/IconDecoder.h"
#include "sprite/IconEncoder.h"
#include "sprite/PixelExpand.h"

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

// Sizes on each expansion path: 0 the scalar one, 1 the best the processor runs.
void SizesAndPaths(benchmark::internal::Benchmark* b) {
    for (int path : {1, 0}) {
        for (auto [w, h] : {std::pair{40, 40}, {160, 120}, {640, 480}})
            b->Args({w, h, path});
    }
}

// The thread's own processor time: the machine may be shared, and time spent
// running others would blur both sides of the ratio.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::nanoseconds;
    static time_point now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    }
};

// Decodes into a complete picture (key colour margins included) and, in
// alternating batches of the same size, copies the decoded bytes with memcpy;
// the counters give both per picture and their ratio, measured side by side.
void Decode(benchmark::State& state, bool runs) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const ExpandPath path = state.range(2) == 0 ? ExpandPath::Scalar : BestExpandPath();
    if (!ChooseExpandPath(path)) {
        state.SkipWithError("path not run by this processor");
        return;
    }
    PixelBuffer24 source;
    MakePicture(source, w, h, runs);
    CodedIcon icon;
    EncodeIcon(source, icon);
    PixelBuffer24 target;
    target.Create(w, h, 24, false);
    target.Allocate();
    std::vector<std::uint8_t> copy(target.ImageSize());
    // About 20 microseconds per batch, so the clock reads cost nothing.
    const int batch = std::max(1, 1000000 / (w * h));
    Clock::duration decoding{}, copying{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (int k = 0; k < batch; ++k) {
            benchmark::DoNotOptimize(DecodeIcon(icon.record, icon.data, target));
            benchmark::ClobberMemory();
        }
        const Clock::time_point middle = Clock::now();
        for (int k = 0; k < batch; ++k) {
            std::memcpy(copy.data(), target.Pixels(), copy.size());
            benchmark::ClobberMemory();
        }
        copying += Clock::now() - middle;
        decoding += middle - start;
    }
    ChooseExpandPath(BestExpandPath());
    const double pictures = static_cast<double>(state.iterations()) * batch;
    state.counters["decode_ns"] =
        std::chrono::duration<double, std::nano>(decoding).count() / pictures;
    state.counters["memcpy_ns"] =
        std::chrono::duration<double, std::nano>(copying).count() / pictures;
    state.counters["x_memcpy"] =
        static_cast<double>(decoding.count()) / static_cast<double>(copying.count());
    state.SetItemsProcessed(static_cast<std::int64_t>(pictures) * w * h);
    state.SetLabel(std::string(icon.record.IsRunLength() ? "run-length" : "raw") + ", " +
                   ExpandPathName(path));
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

}  // namespace

BENCHMARK(BM_DecodeRaw)->Apply(SizesAndPaths);
BENCHMARK(BM_DecodeRunLength)->Apply(SizesAndPaths);
BENCHMARK(BM_EncodeRaw)->Apply(Sizes);
BENCHMARK(BM_EncodeRunLength)->Apply(Sizes);
BENCHMARK_MAIN();
