// A level played from SDL's virtual game pad alone (drive, aim diagonally,
// fire, lock, help, leave), a pad-recorded demo replaying to the same end,
// and the rules following keys the player moved.
#include "base/counters.h"
#include "base/game_input.h"
#include "base/game_pad.h"
#include "level/demo_run.h"
#include "level/screens.h"
#include "tests/support/virtual_pad.h"
#include "tests/unit/level_test_world.h"

namespace {

int pagesShown = 0;
void countPage() { ++pagesShown; }

bool anyOrbFlying(const Level& level)
{
    for (Orb* orb : level.orbs) {
        if (orb->sprite->active) return true;
    }
    return false;
}

class PadPlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadlessGame();
        waitForEscPressAndRelease = countPage;
        testworld::releaseAllKeys();
        useLiveInput();
        std::srand(1);
        pagesShown = 0;
    }
    void TearDown() override { setPlayBindings(defaultPlayBindings()); }

    // Plays frames as the game's loop does; false once the level would end.
    bool frames(Level& level, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (!level.nextPass()) return false;
            level.playFrame();
            tickCounter += 1;
        }
        return true;
    }

    ScopedChdir inGame{gameDir()};
    VirtualPad pad;
};

// Recorded as it is played: the pad's frames keep the demo's key bits, so
// the run plays back with the pad gone, to the same end line.
TEST_F(PadPlayTest, ThePadDrivesAimsDiagonallyFiresLocksOpensHelpAndLeavesAndTheRunReplays)
{
    Demo demo;
    Level level;
    startRecording(level, "test.fmp", 77, demo);
    const int startX = level.craft->x, startY = level.craft->y;
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MAX);
    ASSERT_TRUE(frames(level, 40));
    EXPECT_TRUE(level.frontEnginesOn);
    EXPECT_NE(std::make_pair(level.craft->x, level.craft->y), std::make_pair(startX, startY));
    pad.restAll();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 25000);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -25000);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(frames(level, 2));
    EXPECT_EQ(level.craft->turretAngle, 225);  // up and right
    EXPECT_TRUE(anyOrbFlying(level));
    pad.restAll();
    pad.button(SDL_CONTROLLER_BUTTON_Y, true);
    ASSERT_TRUE(frames(level, 3));
    pad.button(SDL_CONTROLLER_BUTTON_Y, false);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    ASSERT_TRUE(frames(level, 1));
    EXPECT_EQ(std::make_pair(level.craft->turretLocked, level.craft->turretAngle), std::make_pair(1, 225));
    pad.restAll();
    pad.button(SDL_CONTROLLER_BUTTON_X, true);
    ASSERT_TRUE(frames(level, 1));
    EXPECT_EQ(pagesShown, 1);
    pad.restAll();
    pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_FALSE(frames(level, 1));
    const DemoOutcome outcome = finishRecording(level, demo);
    pad.unplug();
    Level replayed;
    const PlaybackResult played = playDemo(replayed, demo);
    EXPECT_EQ(played.desync, "");
    EXPECT_TRUE(played.complete);
    EXPECT_EQ(demoEndLine("pad.dem", played.outcome), demoEndLine("pad.dem", outcome));
}

// Fire moved to ENTER: ENTER shoots and SPACE no longer does.
TEST_F(PadPlayTest, TheRulesSeeTheBoundKeysAndNotTheOldOnes)
{
    PlayBindings bindings = defaultPlayBindings();
    bindings[static_cast<int>(PlayAction::Fire)] = {KEY_ENTER, 0};
    setPlayBindings(bindings);
    for (int scancode : {KEY_SPACE, KEY_ENTER}) {
        Level level;
        level.begin("test.fmp");
        key[scancode] = 1;
        ASSERT_TRUE(frames(level, 8));  // past the wait for the first shot
        key[scancode] = 0;
        EXPECT_EQ(anyOrbFlying(level), scancode == KEY_ENTER) << scancode;
        level.end();
    }
    // The help page names the moved keys, and only those.
    bindings[static_cast<int>(PlayAction::AimUp)] = {KEY_W, KEY_8_PAD};
    bindings[static_cast<int>(PlayAction::Lock)] = {KEY_L, 0};
    setPlayBindings(bindings);
    std::vector<std::string> shown;
    for (const PageLine& line : helpPageLines()) shown.push_back(line.text);
    EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.begin() + 8),
              (std::vector<std::string>{"LEFT CONTROL - Turn on front engines", "SHIFT or ALT - Turn on back engines",
                                        "ENTER - Fire fire-like weapon",
                                        "W or 8_PAD/DOWN/LEFT/RIGHT (up/down/left/right) - Aim Turret",
                                        "F1 - Help Menu", "ESC - Exit current map and/or game", "L - Lock Turret"}));
}

}  // namespace

namespace {
// A page opened with A still held from firing: the release of that A does
// not close it, a fresh press and release does.
VirtualPad* pagePad = nullptr;
int pagePolls = 0;
void pressAfterRelease()
{
    ++pagePolls;
    pagePad->button(SDL_CONTROLLER_BUTTON_A, pagePolls == 3 || pagePolls == 4);
}

TEST_F(PadPlayTest, APageWaitsForAFreshPressOfAPadButton)
{
    pagePad = &pad;
    pagePolls = 0;
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    waitForEscPressAndReleaseWith(pressAfterRelease);
    EXPECT_EQ(pagePolls, 5);
}
}  // namespace
