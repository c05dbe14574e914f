// The places chunk (PLCS), the game's own: the cart's start cell and one to
// five dome cells. Its data is 16-bit values in the header's byte order:
// start x, start y, the dome count, then x and y of each dome.
#include "tilemap/decode.h"
#include "tilemap/map_reader.h"
#include "tilemap/tilemap.h"

namespace {

constexpr uint32_t kValueSize = 2;
constexpr uint32_t kCountedLength = 3 * kValueSize;  // start x, start y, count
constexpr uint32_t kPlaceLength = 2 * kValueSize;

bool insideMap(const CellPlace& place)
{
    return place.x >= 0 && place.x < tileMap.mapWidth && place.y >= 0 && place.y < tileMap.mapHeight;
}

CellPlace placeAt(const uint8_t* data)
{
    return CellPlace{readMapShort(data), readMapShort(data + kValueSize)};
}

}  // namespace

void decodePlaces(const uint8_t* chunk)
{
    // Without the header the cells could not be judged against the map.
    if (!requireHeader()) {
        tileMap.loadError = kLoadBadPlaces;
        return;
    }
    const uint32_t length = chunkDataLength(chunk);
    const uint8_t* data = chunk + kChunkHeaderSize;
    MapPlaces places{};
    places.present = true;
    if (length < kCountedLength) {
        tileMap.loadError = kLoadBadPlaces;
        return;
    }
    places.start = placeAt(data);
    places.domeCount = readMapShort(data + 2 * kValueSize);
    const bool countUsable = places.domeCount >= 1 && places.domeCount <= kMaxDomePlaces;
    if (!countUsable || length != kCountedLength + kPlaceLength * static_cast<uint32_t>(places.domeCount) ||
        !insideMap(places.start)) {
        tileMap.loadError = kLoadBadPlaces;
        return;
    }
    for (int i = 0; i < places.domeCount; ++i) {
        places.domes[i] = placeAt(data + kCountedLength + kPlaceLength * i);
        if (!insideMap(places.domes[i])) {
            tileMap.loadError = kLoadBadPlaces;
            return;
        }
    }
    tileMap.places = places;
}
