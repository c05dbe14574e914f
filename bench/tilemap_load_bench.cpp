// Loading a large map from memory: 256 x 256 blocks, two layers, 1000
// graphics of 32 x 32 pixels at 32 bits, realised for a 32-bit screen. Also
// reports the peak heap held during one load beyond what was held before,
// against what the loaded map keeps plus its largest chunk.
#include "tests/support/fmp_bytes.h"
#include "tests/support/headless.h"
#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Heap accounting: malloc and friends are wrapped around glibc's own so that
// every allocation of the process (the library's bitmaps included) is
// counted by its usable size.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};

void account(long long change)
{
    const long long now = heapInUse.fetch_add(change) + change;
    long long peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
}

long long usable(void* pointer)
{
    return pointer ? static_cast<long long>(malloc_usable_size(pointer)) : 0;
}

}  // namespace

extern "C" void* malloc(std::size_t size)
{
    void* p = __libc_malloc(size);
    account(usable(p));
    return p;
}

extern "C" void* calloc(std::size_t count, std::size_t size)
{
    void* p = __libc_calloc(count, size);
    account(usable(p));
    return p;
}

extern "C" void* realloc(void* pointer, std::size_t size)
{
    const long long before = usable(pointer);
    void* p = __libc_realloc(pointer, size);
    if (p || size == 0) {
        account(usable(p) - before);
    }
    return p;
}

extern "C" void free(void* pointer)
{
    account(-usable(pointer));
    __libc_free(pointer);
}

namespace {

constexpr int kMapSize = 256;
constexpr int kGraphicCount = 1000;
constexpr int kGraphicSide = 32;
constexpr int kDepth = 32;

struct BigMap {
    std::string bytes;
    std::size_t largestChunk = 0;
};

const BigMap& bigMap()
{
    static const BigMap map = [] {
        fmp::Header h;
        h.mapWidth = kMapSize;
        h.mapHeight = kMapSize;
        h.blockWidth = kGraphicSide;
        h.blockHeight = kGraphicSide;
        h.blockStepX = kGraphicSide;
        h.blockStepY = kGraphicSide;
        h.blockDepth = kDepth;
        h.blockRecordCount = kGraphicCount;
        h.graphicCount = kGraphicCount;
        std::vector<fmp::Block> blocks(kGraphicCount);
        for (int i = 0; i < kGraphicCount; ++i) {
            blocks[i].back = i;
            blocks[i].fore1 = (i * 7) % kGraphicCount;
        }
        std::vector<int> body(kMapSize * kMapSize);
        std::vector<int> overlay(kMapSize * kMapSize);
        for (std::size_t i = 0; i < body.size(); ++i) {
            body[i] = static_cast<int>(i % kGraphicCount);
            overlay[i] = static_cast<int>((i * 13) % kGraphicCount);
        }
        const std::string graphics = fmp::chunk("BGFX", fmp::patternGraphics(kGraphicCount, kGraphicSide, kGraphicSide, kDepth));
        BigMap out;
        out.bytes = fmp::form(fmp::mphd(h) + fmp::bkdt(blocks) + graphics + fmp::layer(0, body) + fmp::layer(1, overlay));
        out.largestChunk = graphics.size();
        return out;
    }();
    return map;
}

void BM_LoadLargeMap(benchmark::State& state)
{
    startHeadless(kDepth);
    const BigMap& map = bigMap();
    for (auto _ : state) {
        if (loadMapFromMemory(map.bytes.data(), map.bytes.size()) != 0) {
            state.SkipWithError("the map did not load");
            break;
        }
        state.PauseTiming();
        freeMap();
        state.ResumeTiming();
    }

    // One more load, measured for memory.
    const long long before = heapInUse.load();
    heapPeak.store(before);
    loadMapFromMemory(map.bytes.data(), map.bytes.size());
    const long long peakExtra = heapPeak.load() - before;
    const long long mapHeld = heapInUse.load() - before;
    freeMap();
    const long long allowed = mapHeld + static_cast<long long>(map.largestChunk);
    state.counters["peak_extra_MB"] = static_cast<double>(peakExtra) / (1 << 20);
    state.counters["map_MB"] = static_cast<double>(mapHeld) / (1 << 20);
    state.counters["map_plus_chunk_MB"] = static_cast<double>(allowed) / (1 << 20);
    if (peakExtra > allowed) {
        state.SkipWithError("peak memory above the loaded map plus one chunk");
    }
}

BENCHMARK(BM_LoadLargeMap)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
