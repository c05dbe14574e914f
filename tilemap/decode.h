// The chunk decoders of the map loader. Each takes one whole chunk in memory
// (its 8-byte header, then the data) and reports a failure only through
// tileMap.loadError. Every decoder stays inside the chunk and inside the
// arrays it fills; references that need other chunks to be judged are
// checked once the last chunk is in (checkMapReferences).
#pragma once

#include <cstdint>

constexpr int kChunkHeaderSize = 8;
constexpr int kAnimRecordSize = 16;
constexpr int kMinBlockRecordSize = 32;

// What the decoders of one load need to know about each other.
struct LoadProgress {
    bool headerSeen;      // an MPHD chunk of this file has been taken
    bool headerUsed;      // a chunk that depends on the header has been decoded
    bool altGraphicsKept; // the graphics held came from AGFX (8 bits per pixel)
};
extern LoadProgress loadProgress;

// Data length of a chunk, from its header.
uint32_t chunkDataLength(const uint8_t* chunk);
// Bytes per pixel of a colour depth: 8 -> 1, 15 and 16 -> 2, 24 -> 3, 32 -> 4.
constexpr int bytesPerPixel(int depth) { return (depth + 1) / 8; }
bool isKnownDepth(int depth);
// Size in bytes of one graphic at the given depth, from the header values.
int64_t graphicByteSize(int depth);
// True when an MPHD chunk of this file came first; otherwise sets loadError.
bool requireHeader();

void decodeHeader(const uint8_t* chunk);
void decodePalette(const uint8_t* chunk);
void decodeBlockRecords(const uint8_t* chunk);
void decodeAltGraphics(const uint8_t* chunk);
void decodeGraphics(const uint8_t* chunk);
void decodeAnimations(const uint8_t* chunk);
void resetAnimations();
void decodeLayer(const uint8_t* chunk, int layerIndex);
void decodePlaces(const uint8_t* chunk);

// After the last chunk: every cell, frame and graphic number must name
// something that exists, and the graphics must be all there. Sets loadError
// and returns false when they do not.
bool checkMapReferences();
