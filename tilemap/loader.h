// Loading FMP map files into the tile map (plain or in the library's packed
// format). Every result is 0 on success or -1 with tileMap.loadError set.
#pragma once

#include <cstddef>
#include <cstdint>

struct PACKFILE;

int loadMap(const char* fileName);
// The same load from bytes already in memory (tests and fuzzing).
int loadMapFromMemory(const void* data, std::size_t size);

int readMapFile(const char* fileName);
int decodeChunks(PACKFILE* file, uint32_t total);
uint32_t readChunkLength(const uint8_t* bytes);
