// Drawing a frame: the groups in their order, positions relative to the
// camera, the panel with its face box and read-outs, and the masked copy of
// the finished frame to the screen.
#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "level/panel_cache.h"
#include "shell/colors.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testworld::BareLevel;
using testworld::frameColour;
using testworld::HandMadeTrack;

// A map without tile graphics (nothing of it is drawn), 40 x 30 cells so the
// camera can move inside it.
std::vector<std::string> emptyMap()
{
    return std::vector<std::string>(30, std::string(40, '.'));
}

int background()
{
    return makecol(5, 5, 5);
}

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        // The game's start-up leaves text backgrounds in the mask colour.
        text_mode(makecol(255, 0, 255));
        testworld::writeGamePictures(folder.path());
        backBuffer = create_bitmap(640, 480);
        clear_to_color(backBuffer, background());
        tickCounter = 0;
        framesPerSecond = 0;
        level.craft->loadSprites();
        level.guiBitmap = load_bitmap("gui.bmp", nullptr);
        level.faceBitmap = load_bitmap("face.bmp", nullptr);
        // The cart out of the way unless a test needs it.
        level.craft->x = 1200;
        level.craft->y = 900;
    }
    void TearDown() override
    {
        releasePanelCache();
        destroy_bitmap(level.guiBitmap);
        destroy_bitmap(level.faceBitmap);
        level.guiBitmap = nullptr;
        level.faceBitmap = nullptr;
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
    }

    int at(int x, int y) const { return getpixel(screen, x, y); }

    TempDir folder;
    ScopedChdir inFolder{folder.path()};
    HandMadeTrack track{emptyMap()};
    BareLevel world;
    Level& level = world.level;
};

TEST_F(SceneTest, WithTheCameraAtTheOriginTheDomeIsDrawnAtItsMapPosition)
{
    level.domes[0]->init(288, 160);
    level.drawScene();
    const int dome = frameColour(0, testworld::kDomeTone);
    EXPECT_EQ(at(288 + 64, 160), dome) << "top edge, right half";
    EXPECT_EQ(at(288, 160 + 64), dome) << "left edge, bottom half";
    EXPECT_EQ(at(288 + 127, 160 + 127), dome);
    EXPECT_EQ(at(288 + 10, 160 + 10), background()) << "the strip's transparent corner";
    EXPECT_EQ(at(288 + 128, 160 + 127), background());
    EXPECT_EQ(at(288 + 64, 160 + 128), background());
    // Its bar, rows 140 to 150, full health: green inside the white outline.
    EXPECT_EQ(at(288, 140), colorWhite);
    EXPECT_EQ(at(288 + 60, 145), colorGreen);
    EXPECT_EQ(at(288 + 60, 151), background());
}

TEST_F(SceneTest, EverythingIsDrawnRelativeToTheCamera)
{
    level.domes[0]->init(400, 300);
    level.cameraX = 100;
    level.cameraY = 50;
    level.drawScene();
    EXPECT_EQ(at(300 + 127, 250 + 127), frameColour(0, testworld::kDomeTone));
    EXPECT_EQ(at(300 + 128, 250 + 127), background());
}

TEST_F(SceneTest, TheCameraIsClampedIntoTheMapBeforeDrawing)
{
    level.domes[0]->init(0, 40);
    level.cameraX = -30;
    level.cameraY = 5000;  // the map is 960 high: at most 480
    level.drawScene();
    EXPECT_EQ(level.cameraX, 0);
    EXPECT_EQ(level.cameraY, 480);
}

TEST_F(SceneTest, LaterGroupsCoverEarlierOnes)
{
    // Dome, orb, cart and alien stacked so that each covers part of the one
    // before; the panel covers the alien's lower part.
    level.domes[0]->init(100, 200);
    Orb& orb = *level.orbs[4];
    orb.fire(0, 180, 280);
    level.craft->x = 188;
    level.craft->y = 288;
    Alien& alien = *level.aliens[2];
    alien.sprite->load("alien.bmp", 128, 128, 5);
    alien.sprite->active = true;
    alien.x = 200.7f;  // truncated to 200
    alien.y = 300.2f;
    alien.heading = 0;
    alien.health = 10;
    alien.maxHealth = 10;

    level.drawScene();

    EXPECT_EQ(at(170, 270), frameColour(0, testworld::kDomeTone));
    EXPECT_EQ(at(192, 284), frameColour(0, testworld::kOrbTone)) << "orb over dome";
    EXPECT_EQ(at(190, 292), testworld::cartVerticalColour()) << "cart over orb";
    EXPECT_EQ(at(199, 299), testworld::cartVerticalColour());
    EXPECT_EQ(at(200 + 127, 300 + 70), frameColour(0, testworld::kAlienTone)) << "alien beside the panel";
    EXPECT_EQ(at(200 + 127, 300 + 64), frameColour(0, testworld::kAlienTone));
    EXPECT_EQ(at(200 + 127, 300 + 79), frameColour(0, testworld::kAlienTone));
    EXPECT_EQ(at(200 + 128, 300 + 70), background()) << "x 200.7 is drawn from column 200";
    EXPECT_EQ(at(200 + 100, testworld::kPanelTop), testworld::panelColour()) << "panel over alien";
}

TEST_F(SceneTest, AnIdleOrbIsNotDrawnWhereverItIs)
{
    Orb& orb = *level.orbs[0];
    orb.fire(0, 300, 100);
    orb.sprite->active = false;
    level.drawScene();
    EXPECT_EQ(at(310, 110), background());
}

TEST_F(SceneTest, AnAlienIsTurnedByItsHeading)
{
    Alien& alien = *level.aliens[0];
    alien.sprite->load("alien.bmp", 128, 128, 5);
    alien.sprite->active = true;
    alien.x = 300;
    alien.y = 150;
    alien.health = 1;
    alien.maxHealth = 10;
    const int colour = frameColour(0, testworld::kAlienTone);

    alien.heading = 0;
    level.drawScene();
    EXPECT_EQ(at(300 + 20, 150 + 20), background()) << "transparent top-left quarter";
    EXPECT_EQ(at(300 + 108, 150 + 20), colour);

    // 90 degrees clockwise: the transparent quarter goes to the top right.
    alien.heading = 90;
    clear_to_color(backBuffer, background());
    level.drawScene();
    EXPECT_EQ(at(300 + 20, 150 + 20), colour);
    EXPECT_EQ(at(300 + 108, 150 + 20), background());
}

TEST_F(SceneTest, AnAlienLeftOfAndAboveTheViewShowsItsVisiblePart)
{
    Alien& alien = *level.aliens[5];
    alien.sprite->load("alien.bmp", 128, 128, 5);
    alien.sprite->active = true;
    alien.x = -100.0f;
    alien.y = -90.0f;
    alien.heading = 0;
    alien.health = 0;  // no bar in the way
    level.drawScene();
    const int colour = frameColour(0, testworld::kAlienTone);
    EXPECT_EQ(at(0, 0), colour);
    EXPECT_EQ(at(27, 37), colour) << "its last column and row";
    EXPECT_EQ(at(28, 10), background());
    EXPECT_EQ(at(10, 38), background());
}

// The screen should show exactly `text` in the read-out colour at the text
// position inside its box, on the box's fill with its dark top and left edges.
void expectReadout(int x1, int y1, int x2, int y2, int textWidth, int textHeight,
                   const char* text)
{
    BITMAP* reference = create_bitmap(textWidth, textHeight);
    clear_to_color(reference, makecol(255, 0, 255));
    textout_ex(reference, font, text, textWidth / 2 - 10, textHeight / 2 - 5, colorOrangeRed, -1);
    int mismatches = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            int expected = (x == x1 || y == y1) ? colorDarkRed : colorRed;
            if (x - x1 < textWidth && y - y1 < textHeight) {
                const int glyph = getpixel(reference, x - x1, y - y1);
                if (glyph == colorOrangeRed) {
                    expected = glyph;
                }
            }
            mismatches += getpixel(screen, x, y) != expected;
        }
    }
    destroy_bitmap(reference);
    EXPECT_EQ(mismatches, 0) << "read-out \"" << text << "\" at " << x1 << "," << y1;
}

TEST_F(SceneTest, TheReadOutsShowTheirValuesInTheirBoxes)
{
    framesPerSecond = 57;
    level.craft->speed = 2.5f;
    level.score = 1234;
    level.secondsPlayed = 42;
    level.drawScene();

    expectReadout(118, 450, 188, 470, 70, 20, "57");
    expectReadout(280, 425, 360, 438, 80, 13, "2.500000");
    expectReadout(280, 455, 360, 468, 80, 13, "1234");
    expectReadout(450, 450, 510, 470, 60, 20, "42");

    // The score's first glyph starts 30 pixels into its box and 1 below its top.
    int firstColumn = -1;
    int firstRow = -1;
    for (int y = 455; y <= 468 && firstRow < 0; ++y) {
        for (int x = 280; x <= 360; ++x) {
            if (at(x, y) == colorOrangeRed) {
                firstRow = y;
                break;
            }
        }
    }
    for (int x = 280; x <= 360 && firstColumn < 0; ++x) {
        for (int y = 455; y <= 468; ++y) {
            if (at(x, y) == colorOrangeRed) {
                firstColumn = x;
                break;
            }
        }
    }
    EXPECT_GE(firstColumn, 280 + 30);
    EXPECT_LE(firstColumn, 280 + 30 + 2) << "the font's 1 has at most a little bearing";
    EXPECT_GE(firstRow, 455 + 1);
}

TEST_F(SceneTest, ReadOutsFollowTheirValuesFromFrameToFrame)
{
    level.score = 7;
    level.drawScene();
    level.score = 8;
    level.craft->speed = -1.25f;
    framesPerSecond = 300;
    level.secondsPlayed = 9;
    level.drawScene();
    expectReadout(280, 455, 360, 468, 80, 13, "8");
    expectReadout(280, 425, 360, 438, 80, 13, "-1.250000");
    expectReadout(118, 450, 188, 470, 70, 20, "300");
    expectReadout(450, 450, 510, 470, 60, 20, "9");
}

TEST_F(SceneTest, TheFaceSitsInABlackBoxUnderThePanelPicture)
{
    level.drawScene();
    using namespace testworld;
    EXPECT_EQ(at(kFaceX + 1, kFaceY + 1), faceColour());
    EXPECT_EQ(at(kFaceX + 5, kFaceY + 5), colorBlack) << "a transparent face pixel shows the box";
    EXPECT_EQ(at(kFaceX + kFaceWidth, kFaceY + 10), colorBlack) << "the box is one pixel wider";
    EXPECT_EQ(at(kFaceX + 10, kFaceY + kFaceHeight), colorBlack) << "and one pixel taller";
    EXPECT_EQ(at(kFaceX + kFaceWidth + 1, kFaceY + 10), panelColour());
    EXPECT_EQ(at(kFaceX - 1, kFaceY + 10), panelColour());
    EXPECT_EQ(at(300, kPanelTop - 1), background()) << "transparent panel pixels show the view";
    EXPECT_EQ(at(590, kPanelTop), panelColour());
    EXPECT_EQ(at(kHoleX, kHoleY), background()) << "a hole inside the panel shows the view";
    EXPECT_EQ(at(kHoleX + kHoleSize - 1, kHoleY + kHoleSize - 1), background());
    EXPECT_EQ(at(kHoleX + kHoleSize, kHoleY), panelColour());
    EXPECT_EQ(at(kHoleX - 1, kHoleY + kHoleSize - 1), panelColour());
    EXPECT_EQ(at(kHoleX, kHoleY + kHoleSize), panelColour());
}

TEST_F(SceneTest, MagentaInTheFinishedFrameLeavesTheScreenAsItWas)
{
    clear_to_color(screen, makecol(0, 0, 0));
    rectfill(backBuffer, 400, 100, 420, 120, makecol(255, 0, 255));
    level.drawScene();
    EXPECT_EQ(at(410, 110), makecol(0, 0, 0));
    EXPECT_EQ(at(430, 110), background());
}

TEST_F(SceneTest, TheKeptPanelLooksLikeOneComposedAfresh)
{
    // Frames with changing values, then the same last values on a panel
    // composed from nothing: the two pictures must agree everywhere.
    for (int i = 0; i < 5; ++i) {
        framesPerSecond = 100 + i;
        level.craft->speed = 0.2f * static_cast<float>(i);
        level.score = i * 3;
        level.secondsPlayed = i;
        level.drawScene();
    }
    BITMAP* kept = create_bitmap(640, 480);
    blit(screen, kept, 0, 0, 0, 0, 640, 480);

    releasePanelCache();
    clear_to_color(screen, makecol(0, 0, 0));
    level.drawScene();
    int differences = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            differences += getpixel(kept, x, y) != getpixel(screen, x, y);
        }
    }
    destroy_bitmap(kept);
    EXPECT_EQ(differences, 0);
}

}  // namespace
