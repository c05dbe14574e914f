#include "tilemap/view.h"

#include "tilemap/lookup.h"
#include "tilemap/tilemap.h"
#include "tilemap/view_cells.h"
#include "tilemap/view_masked.h"

#include <allegro.h>

#include <algorithm>

namespace {

constexpr int kOverlayLayer = 1;

enum class Pass { Background, Foreground };

// One overlay for the whole run: the picture is the same as with a fresh
// bitmap per frame (it is filled with the mask colour every time), without
// a full-screen allocation per frame. Only maps whose blocks overlap need it.
BITMAP* overlay = nullptr;

BITMAP* overlayFor(BITMAP* dest)
{
    if (overlay && (overlay->w != dest->w || overlay->h != dest->h ||
                    bitmap_color_depth(overlay) != bitmap_color_depth(dest))) {
        destroy_bitmap(overlay);
        overlay = nullptr;
    }
    if (!overlay) {
        overlay = create_bitmap_ex(bitmap_color_depth(dest), dest->w, dest->h);
    }
    return overlay;
}

BITMAP* foregroundOf(const BlockRecord& block, int which)
{
    switch (which) {
    case 0:
        return block.foreGraphic1.bitmap;
    case 1:
        return block.foreGraphic2.bitmap;
    default:
        return block.foreGraphic3.bitmap;
    }
}

struct Walk {
    BITMAP* dest;
    Pass pass;
    int which;
    bool maskedBackground;  // lay backgrounds masked (layer 1 drawn straight onto layer 0)
};

// Copies one block. Plain maps lay their background opaque; staggered ones
// overlap, so there every copy is masked and graphic 0 counts as empty.
void drawBlock(const Walk& walk, const BlockRecord& block, int px, int py, bool staggered)
{
    BITMAP* graphic;
    if (walk.pass == Pass::Background) {
        graphic = block.backGraphic.bitmap;
        if (!graphic) {
            return;
        }
        if (!staggered && !walk.maskedBackground) {
            blit(graphic, walk.dest, 0, 0, px, py, tileMap.blockWidth, tileMap.blockHeight);
            return;
        }
        if (staggered && tileMap.tileBitmaps && graphic == tileMap.tileBitmaps[0]) {
            return;
        }
    } else {
        graphic = foregroundOf(block, walk.which);
        if (!graphic) {
            return;
        }
    }
    maskedCopy(graphic, walk.dest, 0, 0, px, py, tileMap.blockWidth, tileMap.blockHeight);
}

// Draws the cells of one map row from column `column` onwards, the first at
// screen x `px`, stepping right until `right`. Columns outside the map are
// passed over without reading them, so a small map or a camera outside the
// map never reads beyond the layer.
void drawRow(const Walk& walk, int row, int column, int px, int right, int py, bool staggered)
{
    if (row < 0 || row >= tileMap.mapHeight) {
        return;
    }
    const int step = tileMap.blockStepX;
    if (column < 0) {
        px -= column * step;
        column = 0;
    }
    const int16_t* cell = tileMap.currentLayer + row * tileMap.mapWidth + column;
    for (; px < right && column < tileMap.mapWidth; px += step, ++column, ++cell) {
        if (const BlockRecord* block = resolveCell(*cell)) {
            drawBlock(walk, *block, px, py, staggered);
        }
    }
}

void walkPlain(const Walk& walk, int mapX, int mapY, int x, int y, int w, int h)
{
    const int firstColumn = mapX / tileMap.blockStepX;
    const int offsetX = mapX % tileMap.blockStepX;
    const int firstRow = mapY / tileMap.blockStepY;
    const int offsetY = mapY % tileMap.blockStepY;
    int row = firstRow;
    for (int py = y - offsetY; py < y + h; py += tileMap.blockStepY, ++row) {
        drawRow(walk, row, firstColumn, x - offsetX, x + w, py, false);
    }
}

// Staggered maps keep their rows in pairs, the second of each pair shifted
// by the stagger; a pair takes one step of height on screen.
void walkStaggered(const Walk& walk, int mapX, int mapY, int x, int y, int w, int h)
{
    const int firstColumn = mapX / tileMap.blockStepX;
    const int offsetX = mapX % tileMap.blockStepX;
    const int offsetY = mapY % tileMap.blockStepY;
    int row = 2 * (mapY / tileMap.blockStepY);
    const int left = x - offsetX - tileMap.blockStepX;
    for (int py = y - offsetY - tileMap.blockStepY; py < y + h; py += tileMap.blockStepY, row += 2) {
        drawRow(walk, row, firstColumn, left, x + w, py, true);
        drawRow(walk, row + 1, firstColumn, left + tileMap.staggerX, x + w, py + tileMap.staggerY, true);
    }
}

void drawLayer(const Walk& walk, int mapX, int mapY, int x, int y, int w, int h)
{
    if (tileMap.bitmapMode == 0 || !walk.dest || !tileMap.currentLayer || tileMap.blockStepX <= 0 ||
        tileMap.blockStepY <= 0) {
        return;
    }
    int oldLeft, oldTop, oldRight, oldBottom;
    get_clip_rect(walk.dest, &oldLeft, &oldTop, &oldRight, &oldBottom);
    const int oldClipping = get_clip_state(walk.dest);
    set_clip_rect(walk.dest, x, y, x + w - 1, y + h - 1);

    mapX -= tileMap.staggerX;
    mapY -= tileMap.staggerY;
    if (tileMap.staggerX == 0 && tileMap.staggerY == 0) {
        walkPlain(walk, mapX, mapY, x, y, w, h);
    } else {
        walkStaggered(walk, mapX, mapY, x, y, w, h);
    }

    set_clip_rect(walk.dest, oldLeft, oldTop, oldRight, oldBottom);
    set_clip_state(walk.dest, oldClipping);
}

void clampCamera(int* cameraX, int* cameraY)
{
    // The upper limit is applied last and wins on a map smaller than the view.
    const int maxX = tileMap.mapWidth * tileMap.blockWidth - kViewWidth;
    const int maxY = tileMap.mapHeight * tileMap.blockHeight - kViewHeight;
    if (*cameraX < 0) {
        *cameraX = 0;
    }
    if (*cameraX > maxX) {
        *cameraX = maxX;
    }
    if (*cameraY < 0) {
        *cameraY = 0;
    }
    if (*cameraY > maxY) {
        *cameraY = maxY;
    }
}

// Blocks overlap when the grid is staggered or steps less than a block.
bool blocksOverlap()
{
    return tileMap.staggerX != 0 || tileMap.staggerY != 0 || tileMap.blockStepX < tileMap.blockWidth ||
           tileMap.blockStepY < tileMap.blockHeight;
}

// Layer 1 through an overlay: painted into a bitmap filled with the mask
// colour, which then goes onto dest with its mask-colour pixels left out.
void drawOverlayThroughBitmap(BITMAP* dest, int cameraX, int cameraY)
{
    BITMAP* layerOverlay = overlayFor(dest);
    if (!layerOverlay) {
        return;  // no memory for the overlay: the frame shows layer 0 alone
    }
    clear_to_color(layerOverlay, bitmap_mask_color(layerOverlay));
    drawBackgroundLayer(layerOverlay, cameraX, cameraY, 0, 0, kViewWidth, kViewHeight);
    drawForegroundLayer(layerOverlay, cameraX, cameraY, 0, 0, kViewWidth, kViewHeight, 0);
    maskedCopy(layerOverlay, dest, 0, 0, 0, 0, layerOverlay->w, layerOverlay->h);
}

// Layer 1 straight onto dest, every copy masked. Where blocks do not
// overlap each overlay pixel comes from one block, so this gives the
// overlay's picture pixel for pixel without the full-screen fill and copy.
// The overlay would be cut by dest's clipping rectangle, so the walk is.
void drawOverlayInPlace(BITMAP* dest, int cameraX, int cameraY)
{
    int left = 0;
    int top = 0;
    int right = dest->w - 1;
    int bottom = dest->h - 1;
    if (get_clip_state(dest)) {
        get_clip_rect(dest, &left, &top, &right, &bottom);
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, std::min(dest->w, kViewWidth) - 1);
    bottom = std::min(bottom, std::min(dest->h, kViewHeight) - 1);
    if (left > right || top > bottom) {
        return;
    }
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    drawLayer(Walk{dest, Pass::Background, 0, true}, cameraX + left, cameraY + top, left, top, w, h);
    drawLayer(Walk{dest, Pass::Foreground, 0, true}, cameraX + left, cameraY + top, left, top, w, h);
}

}  // namespace

void drawBackgroundLayer(BITMAP* dest, int mapX, int mapY, int x, int y, int w, int h)
{
    drawLayer(Walk{dest, Pass::Background, 0, false}, mapX, mapY, x, y, w, h);
}

void drawForegroundLayer(BITMAP* dest, int mapX, int mapY, int x, int y, int w, int h, int which)
{
    drawLayer(Walk{dest, Pass::Foreground, which, false}, mapX, mapY, x, y, w, h);
}

void drawMapView(BITMAP* dest, int* cameraX, int* cameraY)
{
    clampCamera(cameraX, cameraY);

    // Where a small map leaves the view uncovered the frame shows black.
    if (tileMap.mapWidth * tileMap.blockWidth < kViewWidth ||
        tileMap.mapHeight * tileMap.blockHeight < kViewHeight) {
        clear_to_color(dest, makecol_depth(bitmap_color_depth(dest), 0, 0, 0));
    }

    selectLayer(0);
    drawBackgroundLayer(dest, *cameraX, *cameraY, 0, 0, kViewWidth, kViewHeight);
    drawForegroundLayer(dest, *cameraX, *cameraY, 0, 0, kViewWidth, kViewHeight, 0);

    // Without a layer 1 the current layer stays layer 0, which is then laid
    // over itself a second time: the picture is the same, the work double.
    selectLayer(kOverlayLayer);
    if (blocksOverlap()) {
        drawOverlayThroughBitmap(dest, *cameraX, *cameraY);
    } else {
        drawOverlayInPlace(dest, *cameraX, *cameraY);
    }
}
