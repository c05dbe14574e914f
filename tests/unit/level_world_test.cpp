// The level on hand-drawn worlds: drawing, and driving on hand-drawn tracks.
#include "base/colors.h"
#include "tests/unit/level_test_world.h"

#include <cstdlib>
#include <utility>

namespace {

using namespace testworld;

int background() { return makecol(5, 5, 5); }

class SceneTest : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        useTrack(std::vector<std::string>(30, std::string(40, '.')));  // 1280 x 960, no graphics
        backBuffer = filled(640, 480, background());
        framesPerSecond = 0;
        craft.loadSprites();
        craft.x = 1200;  // out of the way unless a test needs it
        level.guiBitmap = load_bitmap("gui.bmp", nullptr);
        level.faceBitmap = load_bitmap("face.bmp", nullptr);
    }
    void TearDown() override
    {
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
    }
    int at(int x, int y) const { return getpixel(screen, x, y); }
};

// The camera is clamped into the map, and apart on both axes so that a
// sprite placed by the wrong one shows.
TEST_F(SceneTest, DomeOrbAndBalrogAreDrawnRelativeToTheClampedCameraWithTheirBarsAbove)
{
    level.domes[0]->init(288, 160);
    Orb& orb = *level.orbs[0];
    orb.sprite->frameBitmap = filled(16, 16, faceColour());
    orb.sprite->frameWidth = orb.sprite->frameHeight = 16;
    orb.sprite->x = orb.sprite->y = 300;
    orb.sprite->active = true;
    Alien& balrog = *level.aliens[0];
    balrog.sprite->frameBitmap = filled(128, 128, frameColour(3));
    balrog.sprite->frameWidth = balrog.sprite->frameHeight = 128;
    balrog.sprite->active = true;
    balrog.x = 600, balrog.y = 200, balrog.health = balrog.maxHealth = 10;
    level.cameraX = 100;
    level.cameraY = -5;
    level.drawScene();
    const int dome = frameColour(0);
    EXPECT_EQ(at(188 + 64, 160), dome);
    EXPECT_EQ(at(188 + 10, 160 + 10), background()) << "the strip's transparent corner";
    EXPECT_EQ(std::make_pair(at(188 + 127, 287), at(188 + 128, 287)), std::make_pair(dome, background()));
    EXPECT_EQ(at(188, 140), colorWhite) << "the dome's bar";
    EXPECT_EQ(std::make_pair(at(200, 300), at(215, 315)), std::make_pair(faceColour(), faceColour())) << "the orb";
    EXPECT_EQ(std::make_pair(at(199, 300), at(200, 299)), std::make_pair(background(), background()));
    EXPECT_EQ(at(500 + 64, 200 + 1), frameColour(3)) << "the Balrog";
    EXPECT_EQ(std::make_pair(at(500, 190), at(500 + 60, 195)), std::make_pair(colorWhite, colorGreen))
        << "the Balrog's bar, its last row on the monster's top row";
}

// The box (x1, y1)-(x2, y2) on the screen must hold exactly `text` in the
// read-out colour, drawn at (w / 2 - 10, h / 2 - 5) of a w x h text bitmap,
// over the red fill with dark top and left edges.
void expectReadout(const int (&box)[6], const char* text)
{
    const auto [x1, y1, x2, y2, w, h] = box;
    BITMAP* reference = filled(w, h, mask());
    textout_ex(reference, font, text, w / 2 - 10, h / 2 - 5, colorOrangeRed, -1);
    int mismatches = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            const bool glyph = x - x1 < w && y - y1 < h && getpixel(reference, x - x1, y - y1) == colorOrangeRed;
            mismatches += getpixel(screen, x, y) != (glyph ? colorOrangeRed : x == x1 || y == y1 ? colorDarkRed : colorRed);
        }
    }
    destroy_bitmap(reference);
    EXPECT_EQ(mismatches, 0) << "read-out \"" << text << "\" at " << x1 << "," << y1;
}

TEST_F(SceneTest, TheReadOutsShowTheirValuesInTheirBoxesFrameAfterFrame)
{
    const int boxes[4][6] = {
        {118, 450, 188, 470, 70, 20}, {280, 425, 360, 438, 80, 13}, {280, 455, 360, 468, 80, 13}, {450, 450, 510, 470, 60, 20}};
    // Frame rate, speed, score and seconds as the panel must print them; the
    // second frame shows that the kept text bitmaps lose the last glyphs.
    const char* frames[][4] = {{"57", "2.500000", "1234", "42"}, {"300", "-1.250000", "8", "9"}};
    for (const auto& texts : frames) {
        framesPerSecond = std::atoi(texts[0]);
        craft.speed = std::stof(texts[1]);
        level.score = std::atoi(texts[2]);
        level.secondsPlayed = std::atoi(texts[3]);
        level.drawScene();
        for (int i = 0; i < 4; ++i) expectReadout(boxes[i], texts[i]);
    }
}

TEST_F(SceneTest, LoadShowsFrameZeroAndFramesStepWhenTheClockIsMoreThanTheDelayAway)
{
    Sprite sprite;
    // The bottom-right pixel of a frame is never masked.
    const auto shown = [&] { return getpixel(sprite.frameBitmap, 127, 127); };
    sprite.frame = sprite.lastFrameTick = sprite.frameDelay = 7;
    sprite.load("dome.bmp", 128, 128, 3);  // the first three of its four frames
    EXPECT_EQ(sprite.frame + sprite.lastFrameTick + sprite.frameDelay, 0);
    sprite.frameDelay = 3;
    // tick -> frame; 12 wraps past the last frame, 0 lies far below tick 12.
    const int steps[][2] = {{3, 0}, {4, 1}, {7, 1}, {8, 2}, {12, 0}, {0, 1}};
    for (const auto& step : steps) {
        tickCounter = step[0];
        sprite.animate();
        EXPECT_EQ(sprite.frame, step[1]) << "tick " << step[0];
        EXPECT_EQ(shown(), frameColour(step[1])) << "tick " << step[0];
    }
}

TEST_F(SceneTest, ADomeStandsWithItsBarOutlinedTwentyToTenRowsAboveAndGreenPerHealth)
{
    Dome dome;
    dome.init(300, 200);  // with the camera at (100, 50): at (200, 150)
    // health -> last green column, 128 * health / 50 truncated, inside a
    // white outline over columns 0 to 128 and rows 130 to 140, black behind.
    const int cases[][2] = {{50, 127}, {49, 125}, {25, 64}, {2, 5}, {1, 2}, {0, -1}};
    for (const auto& c : cases) {
        clear_to_color(backBuffer, background());
        dome.health = c[0];
        dome.drawHealth(backBuffer, 100, 50);
        int mismatches = 0;
        for (int y = 128; y <= 142; ++y) {
            for (int x = 198; x <= 330; ++x) {
                const bool inside = c[0] > 0 && x >= 200 && x <= 328 && y >= 130 && y <= 140;
                const bool edge = x == 200 || x == 328 || y == 130 || y == 140;
                const int want = !inside ? background() : edge ? colorWhite : x - 200 <= c[1] ? colorGreen : colorBlack;
                mismatches += getpixel(backBuffer, x, y) != want;
            }
        }
        EXPECT_EQ(mismatches, 0) << "health " << c[0];
    }
}

class DriveTest : public WorldTest {
protected:
    // On a cell of the track, cruising on one set of engines with its key
    // held; the speed holds while the clock stands still.
    void start(const std::vector<std::string>& rows, int column, int row, int facing, float speed, bool front)
    {
        useTrack(rows);
        placeCart(column, row, facing);
        craft.speed = speed;
        craft.lastSpeedTick = tickCounter;
        level.frontEnginesOn = front;
        level.backEnginesOn = !front;
        releaseAllKeys();
        key[front ? KEY_LCONTROL : KEY_ALT] = 1;
    }
    void frame(int ticks)
    {
        tickCounter += ticks;
        level.driveCraft();
    }
};

TEST_F(DriveTest, AllThreeShareAGateThatNeedsMoreThanOneTickEitherWayAndDragStopsInTheBand)
{
    // At each tick speedUp(0.2), slowDown(0.5) and drag: only the first to
    // pass the gate acts. A new level resets the clock below the last tick.
    const std::pair<int, float> steps[] = {{10, 0.2f}, {11, 0.2f}, {4000, 0.4f}, {0, 0.6f}};
    for (const auto& step : steps) {
        tickCounter = step.first;
        craft.speedUp(0.2);
        craft.slowDown(0.5);
        craft.applyDrag();
        EXPECT_FLOAT_EQ(craft.speed, step.second) << "tick " << step.first;
    }
    // Drag: start -> after one period; 0.65 is still outside (-0.6, 0.6).
    const float cases[][2] = {{3.0f, 2.95f}, {-3.0f, -2.95f}, {0.7f, 0.65f}, {-0.7f, -0.65f},
                              {0.65f, 0.0f}, {-0.64f, 0.0f}, {0.0f, 0.0f}};
    for (const auto& c : cases) {
        craft.speed = c[0];
        tickCounter += 2;
        craft.applyDrag();
        EXPECT_FLOAT_EQ(craft.speed, c[1]) << "from " << c[0];
    }
}

// The middle row runs left into a cell whose other way is up, or both up and down: up comes first. Front
// engines turn the front into the open side; back engines turn it away, so that the cart backs up into
// it. At a dead end the cart goes back along the track.
TEST_F(DriveTest, AtAClosedSideTheCartTurnsUnderFrontAndBackEnginesAndAtADeadEndGoesBack)
{
    for (bool front : {true, false}) {
        SCOPED_TRACE(front ? "front engines" : "back engines");
        for (const auto& rows : {std::vector<std::string>{"#....", "#####"}, {"#....", "#####", "#...."}}) {
            SCOPED_TRACE(std::to_string(rows.size()) + " rows");
            start(rows, 4, 1, front ? kDirectionLeft : kDirectionRight, 3.0f, front);
            for (int i = 0; i < 100 && craft.facingAxis == 0; ++i) {
                frame(0);
                ASSERT_EQ(craft.y, 32) << "moving left the cart stays on its row";
            }
            EXPECT_EQ(craft.facing, front ? kDirectionUp : kDirectionDown);
            frame(0);
            EXPECT_EQ(std::make_pair(craft.x, craft.y), std::make_pair(0, 32 - 3)) << "set back exactly, then up";
        }
        start({"#####"}, 0, 0, front ? kDirectionRight : kDirectionLeft, 5.0f, front);
        int reversals = 0;  // on a straight row every change of direction is one
        for (int i = 0, last = kDirectionRight; i < 200; ++i, last = craft.moveDirection) {
            frame(0);
            reversals += craft.moveDirection != last;
            ASSERT_TRUE(craft.x >= 0 && craft.x <= 4 * 32 && craft.y == 0) << craft.x << "," << craft.y;
        }
        EXPECT_GE(reversals, 3) << "at the dead end";
    }
}

// A new level resets the clock below the last step: the next step comes at once, a point per standing
// dome. (The step every 51 ticks is in the golden demos' state at every frame.)
TEST_F(DriveTest, ScoringStepsAtOnceAfterTheClockIsResetBelowTheLastStep)
{
    level.domes[0]->sprite->active = level.domes[3]->sprite->active = true;
    level.lastScoreTick = 5000;
    level.updateScore();
    EXPECT_EQ(std::make_pair(level.secondsPlayed, level.score), std::make_pair(1, 2));
}

}  // namespace
