// What showing the 640 x 480 picture on a 1920 x 1080 screen costs: the
// game's enlargement at scale 2 (1280 x 960) and at fit (1440 x 1080), the
// library's stretch_blit doing the same, and one memcpy of a 1920 x 1080 x
// 4-byte frame, the yardstick (targets: at most 1.0 of it for a whole-number
// scale, 1.5 for fit).
#include "base/enlarge.h"
#include "tests/support/headless.h"

#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kScreenW = 1920;
constexpr int kScreenH = 1080;
constexpr int kPictureW = 640;
constexpr int kPictureH = 480;
constexpr int kRepetitions = 15;

struct Size {
    int w, h;
};
constexpr Size kScale2{1280, 960};
constexpr Size kFit{1440, 1080};

// A screen and a picture of random colours, as a frame of play is.
struct Frames {
    BITMAP* picture;
    BITMAP* screen;
    Frames()
    {
        startHeadless();
        picture = create_bitmap_ex(32, kPictureW, kPictureH);
        screen = create_bitmap_ex(32, kScreenW, kScreenH);
        clear_bitmap(screen);
        std::srand(3);
        for (int y = 0; y < kPictureH; ++y)
            for (int x = 0; x < kPictureW; ++x) putpixel(picture, x, y, std::rand() & 0xFFFFFF);
    }
    ~Frames()
    {
        destroy_bitmap(screen);
        destroy_bitmap(picture);
    }
};

void enlarged(benchmark::State& state, Size to)
{
    Frames frames;
    Enlarger enlarger;
    enlarger.prepare(kPictureW, kPictureH, to.w, to.h);
    for (auto _ : state) {
        enlarger.enlarge(frames.picture, frames.screen, (kScreenW - to.w) / 2, (kScreenH - to.h) / 2);
        benchmark::ClobberMemory();
    }
}

void stretched(benchmark::State& state, Size to)
{
    Frames frames;
    for (auto _ : state) {
        stretch_blit(frames.picture, frames.screen, 0, 0, kPictureW, kPictureH, (kScreenW - to.w) / 2,
                     (kScreenH - to.h) / 2, to.w, to.h);
        benchmark::ClobberMemory();
    }
}

void OneMemcpyOfAFullHdFrame(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(kScreenW) * kScreenH * 4;
    std::vector<char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
}

void EnlargedScale2(benchmark::State& state) { enlarged(state, kScale2); }
void EnlargedFit(benchmark::State& state) { enlarged(state, kFit); }
void StretchBlitScale2(benchmark::State& state) { stretched(state, kScale2); }
void StretchBlitFit(benchmark::State& state) { stretched(state, kFit); }

}  // namespace

BENCHMARK(OneMemcpyOfAFullHdFrame)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(EnlargedScale2)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(EnlargedFit)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(StretchBlitScale2)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(StretchBlitFit)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
