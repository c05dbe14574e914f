// The one in-memory tile map: header values, palette, block graphics and
// their bitmaps, block records, animations and up to eight layers of cells.
// It is module-level state: the loader fills it, the look-ups, the view
// drawing and the game read it, and freeMap empties it.
#pragma once

#include <cstddef>
#include <cstdint>

struct BITMAP;
struct PACKFILE;

constexpr int kLayerCount = 8;

// Reason codes left in tileMap.loadError by a failed load.
enum LoadErrorCode : int32_t {
    kLoadOk = 0,
    kLoadNoMemory = 1,      // an allocation failed
    kLoadBadData = 2,       // not FORM/FMAP, or data ends before what it promises
    kLoadCannotOpen = 3,    // neither the packed nor the plain open worked
    kLoadNoScreen = 4,      // no screen to realise the graphics for
    kLoadNoBitmap = 6,      // a tile bitmap could not be created
    kLoadBadVersion = 7,    // header version above 1 or encodingType above 3
    kLoadBadReference = 8,  // a reference or size points outside what exists
    kLoadBadPlaces = 9,     // the places chunk is malformed or points outside the map
};

// The cart's start cell and the dome cells a map may carry (chunk PLCS).
constexpr int kMaxDomePlaces = 5;
struct CellPlace {
    int32_t x;
    int32_t y;
};
struct MapPlaces {
    bool present;  // false: the map holds no places chunk
    CellPlace start;
    int32_t domeCount;
    CellPlace domes[kMaxDomePlaces];
};

// A block's graphic: its number while the map is decoded, and the tile
// bitmap once the graphics are realised (null for an absent foreground).
struct GraphicRef {
    int32_t index;
    BITMAP* bitmap;
};

// Ways out of a track block, in BlockRecord::flags.
constexpr uint8_t kFlagExitUp = 0x01;
constexpr uint8_t kFlagExitDown = 0x02;
constexpr uint8_t kFlagExitLeft = 0x04;
constexpr uint8_t kFlagExitRight = 0x08;

struct BlockRecord {
    GraphicRef backGraphic;   // graphic 0 is a real graphic here
    GraphicRef foreGraphic1;  // in the foregrounds 0 means none
    GraphicRef foreGraphic2;
    GraphicRef foreGraphic3;
    uint32_t userField1;
    uint32_t userField2;
    uint16_t userField3;
    uint16_t userField4;
    uint8_t userField5;
    uint8_t userField6;
    uint8_t userField7;
    uint8_t flags;
};

struct AnimRecord {
    int8_t type;  // -1 marks the end record
    int8_t delay;
    int8_t counter;
    int8_t userByte;
    int32_t currentFrame;  // positions in TileMap::animFrames
    int32_t firstFrame;
    int32_t endFrame;
};

struct TileMap {
    // Header values; freeMap leaves them alone.
    int16_t mapWidth;
    int16_t mapHeight;
    int16_t blockWidth;
    int16_t blockHeight;
    int16_t blockDepth;
    int16_t blockRecordSize;
    int16_t blockRecordCount;
    int16_t graphicCount;
    int32_t blockStepX;
    int32_t blockStepY;
    int32_t staggerX;
    int32_t staggerY;

    // Load state.
    int32_t encodingType;
    int32_t littleEndian;
    int32_t graphicsDepth;
    int32_t loadError;
    PACKFILE* mapFile;
    int32_t bitmapMode;

    uint8_t* paletteData;
    std::size_t paletteSize;     // bytes held in paletteData

    uint8_t* blockGraphics;
    std::size_t graphicsSize;    // bytes held in blockGraphics
    BITMAP** tileBitmaps;        // null-terminated

    BlockRecord* blockRecords;   // blockRecordCount entries
    AnimRecord* animRecords;     // file order, the end record first
    AnimRecord* animRecordsEnd;  // just past the last record
    int32_t* animFrames;
    int32_t animFrameCount;

    int16_t* layers[kLayerCount];
    int16_t* currentLayer;

    MapPlaces places;  // emptied by freeMap
};

extern TileMap tileMap;

// Empties the map: layers, palette, graphics, records, frames, bitmaps and places.
// Safe on an empty map; the header values and the load state stay.
void freeMap();
