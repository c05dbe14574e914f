#include "tilemap/realise.h"

#include "tilemap/decode.h"
#include "tilemap/map_memory.h"
#include "tilemap/tilemap.h"

#include <initializer_list>

#include <allegro.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaskRed = 255;
constexpr int kMaskGreen = 0;
constexpr int kMaskBlue = 255;
constexpr int kPaletteEntrySize = 3;
constexpr uint8_t kTransparentIndex = 0;

struct Rgb {
    int r, g, b;
};

int fail(int32_t code)
{
    freeMap();
    tileMap.loadError = code;
    return -1;
}

// Widens a component of `bits` bits to 8 bits so that full scale stays full
// scale: 31 becomes 255 and 0 stays 0.
int widen(int field, int bits)
{
    const int value = field << (8 - bits);
    return value | (value >> bits);
}

Rgb readHighColour(const uint8_t* pixel, int depth)
{
    // Always high byte first, whatever the header's byte order.
    const int word = (pixel[0] << 8) | pixel[1];
    if (depth == 15) {
        return {widen((word >> 10) & 0x1F, 5), widen((word >> 5) & 0x1F, 5), widen(word & 0x1F, 5)};
    }
    return {widen((word >> 11) & 0x1F, 5), widen((word >> 5) & 0x3F, 6), widen(word & 0x1F, 5)};
}

Rgb readTrueColour(const uint8_t* pixel, int depth)
{
    // A 32-bit pixel starts with a byte that carries nothing.
    const uint8_t* rgb = depth == 32 ? pixel + 1 : pixel;
    return {rgb[0], rgb[1], rgb[2]};
}

bool isMaskColour(const Rgb& colour)
{
    return colour.r == kMaskRed && colour.g == kMaskGreen && colour.b == kMaskBlue;
}

// The screen's value for one map pixel, or false when an 8-bit pixel names
// a colour that the palette does not hold.
bool pixelValue(const uint8_t* pixel, int source, int target, int* value)
{
    if (source == 8) {
        const uint8_t index = pixel[0];
        if (target == 8) {
            *value = index;
            return true;
        }
        if (index == kTransparentIndex) {
            *value = makecol_depth(target, kMaskRed, kMaskGreen, kMaskBlue);
            return true;
        }
        const std::size_t entry = std::size_t{index} * kPaletteEntrySize;
        if (!tileMap.paletteData || entry + kPaletteEntrySize > tileMap.paletteSize) {
            return false;
        }
        const uint8_t* rgb = tileMap.paletteData + entry;
        *value = makecol_depth(target, rgb[0], rgb[1], rgb[2]);
        return true;
    }
    const Rgb colour = source <= 16 ? readHighColour(pixel, source) : readTrueColour(pixel, source);
    if (target == 8 && isMaskColour(colour)) {
        *value = kTransparentIndex;
    } else {
        *value = makecol_depth(target, colour.r, colour.g, colour.b);
    }
    return true;
}

void storePixel(uint8_t* out, int target, int value)
{
    switch (bytesPerPixel(target)) {
    case 1:
        out[0] = static_cast<uint8_t>(value);
        break;
    case 2: {
        const auto word = static_cast<uint16_t>(value);
        std::memcpy(out, &word, sizeof word);
        break;
    }
    case 3:
        out[0] = static_cast<uint8_t>(value >> 16);
        out[1] = static_cast<uint8_t>(value >> 8);
        out[2] = static_cast<uint8_t>(value);
        break;
    default:
        out[0] = 0;
        out[1] = static_cast<uint8_t>(value >> 16);
        out[2] = static_cast<uint8_t>(value >> 8);
        out[3] = static_cast<uint8_t>(value);
        break;
    }
}

// The stored bytes are the value's bits 23..16, 15..8 and 7..0. They are put
// back together as they are rather than passed through makecol as red, green
// and blue: the library does not always pack red highest (without a display
// it packs blue highest), and makecol would then swap red and blue.
int packedValue(const uint8_t* bytes)
{
    return (bytes[0] << 16) | (bytes[1] << 8) | bytes[2];
}

int loadPixel(const uint8_t* in, int target)
{
    switch (bytesPerPixel(target)) {
    case 1:
        return in[0];
    case 2: {
        uint16_t word = 0;
        std::memcpy(&word, in, sizeof word);
        return word;
    }
    case 3:
        return packedValue(in);
    default:
        return packedValue(in + 1);  // past the zero byte
    }
}

}  // namespace

int realiseTileGraphics()
{
    if (!screen) {
        return fail(kLoadNoScreen);
    }
    const int target = bitmap_color_depth(screen);
    const int source = tileMap.blockDepth;
    const int sourceBytes = bytesPerPixel(source);
    const int targetBytes = bytesPerPixel(target);
    const std::size_t pixels = static_cast<std::size_t>(tileMap.blockWidth) * tileMap.blockHeight * tileMap.graphicCount;

    // Same or narrower pixels convert in place: the write never overtakes
    // the read, and a load then needs no second copy of the graphics.
    uint8_t* converted = tileMap.blockGraphics;
    if (targetBytes > sourceBytes || !converted) {
        converted = pixels ? static_cast<uint8_t*>(mapMemory.allocate(pixels * targetBytes)) : nullptr;
        if (pixels && !converted) {
            return fail(kLoadNoMemory);
        }
    }
    for (std::size_t i = 0; i < pixels; ++i) {
        int value = 0;
        if (!pixelValue(tileMap.blockGraphics + i * sourceBytes, source, target, &value)) {
            if (converted != tileMap.blockGraphics) {
                std::free(converted);
            }
            return fail(kLoadBadReference);
        }
        storePixel(converted + i * targetBytes, target, value);
    }
    if (converted != tileMap.blockGraphics) {
        std::free(tileMap.blockGraphics);
        tileMap.blockGraphics = converted;
    }
    tileMap.graphicsSize = pixels * targetBytes;
    tileMap.blockDepth = static_cast<int16_t>(target);
    return createTileBitmaps();
}

int createTileBitmaps()
{
    const int depth = tileMap.blockDepth;
    const int pixelBytes = bytesPerPixel(depth);
    if (!tileMap.tileBitmaps) {
        void* slots = mapMemory.allocateZeroed(tileMap.graphicCount + 2, sizeof(BITMAP*));
        tileMap.tileBitmaps = static_cast<BITMAP**>(slots);
        if (!tileMap.tileBitmaps) {
            return fail(kLoadNoMemory);
        }
    }
    const uint8_t* pixel = tileMap.blockGraphics;
    for (int i = 0; i < tileMap.graphicCount; ++i) {
        tileMap.tileBitmaps[i + 1] = nullptr;
        BITMAP* tile = mapMemory.createBitmap(depth, tileMap.blockWidth, tileMap.blockHeight);
        tileMap.tileBitmaps[i] = tile;
        if (!tile) {
            return fail(kLoadNoBitmap);
        }
        set_clip(tile, 0, 0, 0, 0);
        for (int y = 0; y < tileMap.blockHeight; ++y) {
            for (int x = 0; x < tileMap.blockWidth; ++x, pixel += pixelBytes) {
                putpixel(tile, x, y, loadPixel(pixel, depth));
            }
        }
    }
    for (int i = 0; tileMap.blockRecords && i < tileMap.blockRecordCount; ++i) {
        BlockRecord& block = tileMap.blockRecords[i];
        block.backGraphic.bitmap = tileMap.tileBitmaps[block.backGraphic.index];
        for (GraphicRef* fore : {&block.foreGraphic1, &block.foreGraphic2, &block.foreGraphic3}) {
            fore->bitmap = fore->index != 0 ? tileMap.tileBitmaps[fore->index] : nullptr;
        }
    }
    return 0;
}
