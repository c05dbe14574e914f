// Where a map puts the cart and its domes: the places the map carries, or,
// for a map without them, the places the game has always given by file name
// ("level1.fmp" its own, every other name the test map's, one dome).
#pragma once

#include "tilemap/tilemap.h"

// The file-name places; exactly "level1.fmp" gets the first level's.
MapPlaces placesByFileName(const char* mapFileName);
// The loaded map's places when it has them, else placesByFileName.
MapPlaces placesOfLoadedMap(const char* mapFileName);
