#include "tilemap/map_places.h"

#include <cstring>

namespace {

constexpr const char* kFirstLevelFile = "level1.fmp";
constexpr CellPlace kFirstLevelStart{5, 4};
constexpr CellPlace kFirstLevelDome{9, 5};
constexpr CellPlace kOtherMapStart{10, 11};
constexpr CellPlace kOtherMapDome{20, 15};

MapPlaces oneDome(CellPlace start, CellPlace dome)
{
    MapPlaces places{};
    places.start = start;
    places.domeCount = 1;
    places.domes[0] = dome;
    return places;
}

}  // namespace

MapPlaces placesByFileName(const char* mapFileName)
{
    return std::strcmp(mapFileName, kFirstLevelFile) == 0 ? oneDome(kFirstLevelStart, kFirstLevelDome)
                                                       : oneDome(kOtherMapStart, kOtherMapDome);
}

MapPlaces placesOfLoadedMap(const char* mapFileName)
{
    return tileMap.places.present ? tileMap.places : placesByFileName(mapFileName);
}
