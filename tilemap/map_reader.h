// Readers for the 16- and 32-bit values inside FMP chunks, in the byte order
// that the map header declared (tileMap.littleEndian). Chunk lengths are not
// read with these: they are always most significant byte first.
#pragma once

#include "tilemap/tilemap.h"

#include <cstdint>

inline int32_t readMapShort(const uint8_t* bytes)
{
    const uint16_t value = tileMap.littleEndian
        ? static_cast<uint16_t>(bytes[0] | (bytes[1] << 8))
        : static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
    return static_cast<int16_t>(value);
}

inline int32_t readMapLong(const uint8_t* bytes)
{
    const uint32_t value = tileMap.littleEndian
        ? (uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24))
        : ((uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]});
    return static_cast<int32_t>(value);
}
