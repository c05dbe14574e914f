// The view's masked copy against the library's masked_blit: the same
// pixels for every placement, clipped or not, and the library's own path
// for bitmaps it does not handle itself.
#include "tests/support/headless.h"
#include "tilemap/view_masked.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kSourceW = 37;
constexpr int kSourceH = 23;
constexpr int kDestW = 64;
constexpr int kDestH = 48;

BITMAP* noisySource(int depth)
{
    BITMAP* source = create_bitmap_ex(depth, kSourceW, kSourceH);
    for (int y = 0; y < kSourceH; ++y) {
        for (int x = 0; x < kSourceW; ++x) {
            const bool hole = std::rand() % 3 == 0;
            putpixel(source, x, y,
                     hole ? bitmap_mask_color(source)
                          : makecol_depth(depth, std::rand() % 256, std::rand() % 256, std::rand() % 256));
        }
    }
    return source;
}

BITMAP* paper(int depth)
{
    BITMAP* dest = create_bitmap_ex(depth, kDestW, kDestH);
    clear_to_color(dest, makecol_depth(depth, 40, 80, 120));
    return dest;
}

int differences(BITMAP* a, BITMAP* b)
{
    int count = 0;
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            count += getpixel(a, x, y) != getpixel(b, x, y);
        }
    }
    return count;
}

void compareAt(int depth, int sx, int sy, int dx, int dy, int w, int h, bool clipped)
{
    SCOPED_TRACE(testing::Message() << depth << " bits, source (" << sx << ", " << sy << ") to (" << dx << ", "
                                    << dy << ") size " << w << " x " << h << (clipped ? " clipped" : ""));
    BITMAP* source = noisySource(depth);
    BITMAP* ours = paper(depth);
    BITMAP* library = paper(depth);
    if (clipped) {
        set_clip_rect(ours, 5, 7, 50, 40);
        set_clip_rect(library, 5, 7, 50, 40);
    }
    maskedCopy(source, ours, sx, sy, dx, dy, w, h);
    masked_blit(source, library, sx, sy, dx, dy, w, h);
    EXPECT_EQ(0, differences(ours, library));
    destroy_bitmap(source);
    destroy_bitmap(ours);
    destroy_bitmap(library);
}

TEST(MaskedCopyTest, MatchesTheLibraryEverywhere)
{
    startHeadless(32);
    std::srand(42);
    struct Placement {
        int sx, sy, dx, dy, w, h;
    };
    const Placement placements[] = {
        {0, 0, 0, 0, kSourceW, kSourceH},        // whole, top-left
        {3, 2, 10, 12, 20, 15},                  // part, inside
        {0, 0, -9, -5, kSourceW, kSourceH},      // off the top-left
        {0, 0, kDestW - 10, kDestH - 6, 30, 30}, // off the bottom-right
        {-4, -3, 2, 2, 20, 20},                  // source corner outside the source
        {30, 20, 1, 1, 20, 20},                  // running past the source's end
        {0, 0, 100, 100, 10, 10},                // wholly outside
        {0, 0, 4, 4, 0, 5},                      // nothing to copy
    };
    for (const Placement& p : placements) {
        compareAt(32, p.sx, p.sy, p.dx, p.dy, p.w, p.h, false);
        compareAt(32, p.sx, p.sy, p.dx, p.dy, p.w, p.h, true);
    }
}

TEST(MaskedCopyTest, OtherDepthsGoThroughTheLibrary)
{
    startHeadless(32);
    std::srand(43);
    compareAt(16, 2, 3, 5, 6, 30, 20, true);
    compareAt(8, 0, 0, -3, 4, kSourceW, kSourceH, false);
}

}  // namespace
