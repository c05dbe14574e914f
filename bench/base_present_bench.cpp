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

struct Size {
    int w, h;
};
// The picture, the screen, and the picture's two sizes on it.
constexpr Size kPicture{640, 480}, kScreen{1920, 1080}, kScale2{1280, 960}, kFit{1440, 1080};
constexpr int kRepetitions = 15;

// A screen and a picture of random colours, as a frame of play is.
struct Frames {
    BITMAP* picture;
    BITMAP* screen;
    Frames()
    {
        startHeadless();
        picture = create_bitmap_ex(32, kPicture.w, kPicture.h);
        screen = create_bitmap_ex(32, kScreen.w, kScreen.h);
        clear_bitmap(screen);
        std::srand(3);
        for (int y = 0; y < kPicture.h; ++y)
            for (int x = 0; x < kPicture.w; ++x) putpixel(picture, x, y, std::rand() & 0xFFFFFF);
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
    enlarger.prepare(kPicture.w, kPicture.h, to.w, to.h);
    for (auto _ : state) {
        enlarger.enlarge(frames.picture, frames.screen, (kScreen.w - to.w) / 2, (kScreen.h - to.h) / 2);
        benchmark::ClobberMemory();
    }
}

void stretched(benchmark::State& state, Size to)
{
    Frames frames;
    for (auto _ : state) {
        stretch_blit(frames.picture, frames.screen, 0, 0, kPicture.w, kPicture.h, (kScreen.w - to.w) / 2,
                     (kScreen.h - to.h) / 2, to.w, to.h);
        benchmark::ClobberMemory();
    }
}

void OneMemcpyOfAFullHdFrame(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(kScreen.w) * kScreen.h * 4;
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
