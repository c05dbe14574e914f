// The names of the Tiled custom properties that carry what Tiled has no
// place for, shared by the exporter and the importer (docs/TILED.md lists
// them for authors).
#pragma once

namespace tiled {

// On a tile that is a block: the local ids (in the same tileset) of the
// tiles whose pictures are its graphics; without "back" the tile's own
// picture is the background, without a foreground property there is none.
constexpr const char* kBackProperty = "back";
constexpr const char* kForeProperties[3] = {"fore1", "fore2", "fore3"};
constexpr const char* kUserProperties[7] = {"user1", "user2", "user3", "user4", "user5", "user6", "user7"};
// The track's open sides, and the other bits of the flags byte.
constexpr const char* kExitProperties[4] = {"exitUp", "exitDown", "exitLeft", "exitRight"};
constexpr const char* kOtherFlagsProperty = "otherFlags";
// On an animated tile.
constexpr const char* kAnimationKindProperty = "animationKind";
constexpr const char* kAnimationDelayProperty = "animationDelay";
constexpr const char* kAnimationCounterProperty = "animationCounter";
constexpr const char* kAnimationUserProperty = "animationUser";
// On the map.
constexpr const char* kStepXProperty = "blockStepX";
constexpr const char* kStepYProperty = "blockStepY";
constexpr const char* kEncodingProperty = "encodingType";
constexpr const char* kLittleEndianProperty = "littleEndian";
// Point objects.
constexpr const char* kStartPoint = "start";
constexpr const char* kDomePoint = "dome";

constexpr int kExitBits = 0x0F;

// Animation kinds that start on their last frame and step backwards (2,
// ping-pong backwards 6, and 7, which the loader reads as 6). Tiled plays
// frames forwards only, so these are listed in Tiled last frame first: it
// then shows them in the game's order, starting where the game starts.
constexpr bool playsBackward(int kind) { return kind == 2 || kind == 6 || kind == 7; }

}  // namespace tiled
