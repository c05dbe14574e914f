// The play of one map: the cart, 50 orb slots, 10 monster slots, 5 dome slots,
// the score and the panel pictures. run() plays a map from loading to its end
// (ESC, or no dome left standing) and frees everything it built.
#pragma once

#include <cstdint>

struct BITMAP;
class PlayerCraft;
class Orb;
class Alien;
class Dome;

constexpr int kOrbSlots = 50;
constexpr int kAlienSlots = 10;
constexpr int kDomeSlots = 5;

class Level {
public:
    Level();
    ~Level();

    void run(const char* mapFileName);

    // run() in steps, so that tests and demos can play frames one at a
    // time: begin builds the level; nextPass is the loop's test at the top
    // of each pass (false once ESC is held or the game is over); playFrame
    // is one pass; playUntilEnd is the whole loop; end tears the level down.
    void begin(const char* mapFileName);
    bool nextPass();
    void playFrame();
    void playUntilEnd();
    void end();

    void handleInput();
    void updateScore();
    void updateOrbs();
    void updateAliens();
    bool anyDomeStanding();
    void drawScene();
    void drawPanel();
    void showHelp();
    void showGameOver();
    void driveCraft();
    void turnCraft();
    void aimTurret();
    int32_t distance(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

    bool aimLockKeyHeld;
    int32_t cameraX;
    int32_t cameraY;
    PlayerCraft* craft;
    int32_t cellX;
    int32_t cellY;
    int32_t cellCentreX;
    int32_t cellCentreY;
    bool backEnginesOn;
    bool frontEnginesOn;
    Orb* orbs[kOrbSlots];
    int32_t weaponKind;
    int32_t lastFireTick;
    Alien* aliens[kAlienSlots];
    Dome* domes[kDomeSlots];
    int32_t score;
    int32_t lastScoreTick;
    int32_t secondsPlayed;
    BITMAP* guiBitmap;
    BITMAP* faceBitmap;
    bool gameOver;  // set in the pass in which the last dome fell
};

// Loads the map or ends the program with "Cannot find MAP file:  %s".
void loadMapOrExit(const char* mapFileName);
