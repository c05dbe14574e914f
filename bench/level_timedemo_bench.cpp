// Timedemos: each golden demo played back whole through the real level,
// rules and drawing, into a memory screen as fast as it goes. Building and
// tearing down the level are left out; the rate is in frames per second,
// to set beside the frame benchmark's time per drawn frame.
#include "level/demo_run.h"
#include "level/level.h"
#include "tests/support/headless.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kRepetitions = 5;

void timedemo(benchmark::State& state, const std::string& name)
{
    startHeadlessGame();
    ScopedChdir inGame(gameDir());
    Demo demo;
    std::string error;
    if (!loadDemo(testDataDir() + "/demos/" + name + ".dem", demo, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    int64_t frames = 0;
    for (auto _ : state) {
        Level level;
        state.PauseTiming();
        startPlayback(level, demo);
        state.ResumeTiming();
        level.playUntilEnd();
        state.PauseTiming();
        const PlaybackResult played = finishPlayback(level);
        state.ResumeTiming();
        if (!played.complete) {
            state.SkipWithError(played.desync.c_str());
            return;
        }
        frames += played.outcome.frames;
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.SetLabel(name + ".dem");
}

void BM_TimedemoLevel1(benchmark::State& state) { timedemo(state, "level1"); }
void BM_TimedemoTestMap(benchmark::State& state) { timedemo(state, "test"); }

}  // namespace

BENCHMARK(BM_TimedemoLevel1)->Repetitions(kRepetitions)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimedemoTestMap)->Repetitions(kRepetitions)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
