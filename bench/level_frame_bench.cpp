// What one frame of play costs: drawScene into a memory screen on both maps
// with the camera moving, next to one memcpy of a 640 x 480 x 4-byte frame,
// the yardstick the frame is measured against (target: at most 40 of them).
#include "entities/alien.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "base/counters.h"
#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kFrameBytes = 640 * 480 * 4;
constexpr int kRepetitions = 15;

// Monsters and orbs in play while the frames are drawn, as in a busy moment.
constexpr int kAliensInPlay = 3;
constexpr int kOrbsInPlay = 8;

void frameOnMap(benchmark::State& state, const char* mapFile)
{
    startHeadlessGame();
    ScopedChdir inGame(gameDir());
    std::srand(7);
    Level level;
    level.begin(mapFile);
    for (int i = 0; i < kAliensInPlay; ++i) {
        level.aliens[i]->spawn(level.domes);
    }
    for (int i = 0; i < kOrbsInPlay; ++i) {
        level.orbs[i]->fire(45 * i, level.craft->x + 16, level.craft->y + 16);
    }

    // The cart goes round an ellipse over the whole map, so the camera
    // scrolls in every direction and is clamped at the edges now and then.
    const double mapWidth = tileMap.mapWidth * tileMap.blockWidth;
    const double mapHeight = tileMap.mapHeight * tileMap.blockHeight;
    int frame = 0;
    for (auto _ : state) {
        const double turn = frame * 0.01;
        level.craft->x = static_cast<int32_t>(mapWidth / 2 + std::cos(turn) * mapWidth * 0.45);
        level.craft->y = static_cast<int32_t>(mapHeight / 2 + std::sin(turn) * mapHeight * 0.45);
        level.cameraX = level.craft->x + 16 - 310;
        level.cameraY = level.craft->y + 16 - 230;
        // While driving the speed read-out changes every few frames.
        if (frame % 4 == 0) {
            level.craft->speed = static_cast<float>((frame / 4) % 52) * 0.2f;
        }
        level.drawScene();
        ++frame;
    }
    level.end();
    state.SetLabel(mapFile);
}

void BM_DrawSceneLevel1(benchmark::State& state) { frameOnMap(state, "level1.fmp"); }
void BM_DrawSceneTestMap(benchmark::State& state) { frameOnMap(state, "test.fmp"); }

void BM_MemcpyFrame(benchmark::State& state)
{
    std::vector<unsigned char> from(kFrameBytes, 1);
    std::vector<unsigned char> to(kFrameBytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kFrameBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kFrameBytes));
}

}  // namespace

BENCHMARK(BM_MemcpyFrame)->Repetitions(kRepetitions)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawSceneLevel1)->Repetitions(kRepetitions)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawSceneTestMap)->Repetitions(kRepetitions)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
