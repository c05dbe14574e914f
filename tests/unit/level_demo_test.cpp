// Demos recorded and played back in step, with the golden demos of tests/data/demos
// (GLIM_RECORD_GOLDEN_DEMOS=1 records them again after an intended change of the maps or the rules).
#include "base/counters.h"
#include "base/game_input.h"
#include "base/game_pad.h"
#include "level/demo_run.h"
#include "level/screens.h"
#include "tests/support/virtual_pad.h"
#include "tests/unit/level_test_world.h"
#include "tilemap/lookup.h"

#include <cstdlib>
#include <cstring>
#include <set>
#include <fstream>
#include <functional>
#include <random>

namespace {

constexpr int kHelpPageTicks = 300;  // the clock runs on while a page is up
constexpr int kLastScriptFrame = 20000;
constexpr int kHelpFrame = 170;

// The scripted player, from each frame on: drives, fires while sweeping
// the turret round, locks and unlocks it, reverses, opens the help page,
// then stops shooting so the Balrogs win and the game ends.
struct Phase { int fromFrame; std::vector<int> keys; bool sweep; };  // sweep: the aim turns an eighth every few frames
const std::vector<Phase> kScript = {
    {0, {}, false},
    {10, {KEY_LCONTROL}, false},
    {40, {KEY_LCONTROL, KEY_SPACE}, true},
    {120, {KEY_T, KEY_SPACE, KEY_DOWN}, false},
    {125, {KEY_SPACE, KEY_DOWN}, false},
    {130, {KEY_T, KEY_SPACE}, true},
    {135, {KEY_LSHIFT, KEY_SPACE}, true},
    {kHelpFrame, {KEY_F1}, false},
    {171, {KEY_ALT, KEY_SPACE}, true},
    {230, {KEY_LCONTROL, KEY_ALT, KEY_SPACE}, true},
    {300, {}, false},
};
const std::vector<std::vector<int>> kAims = {{KEY_LEFT}, {KEY_LEFT, KEY_UP}, {KEY_UP}, {KEY_UP, KEY_RIGHT},
                                             {KEY_RIGHT}, {KEY_RIGHT, KEY_DOWN}, {KEY_DOWN}, {KEY_DOWN, KEY_LEFT}};
constexpr int kFramesPerAim = 6;

void holdScriptKeys(int frame)
{
    testworld::releaseAllKeys();
    const Phase* now = &kScript.front();
    for (const Phase& phase : kScript) {
        if (phase.fromFrame <= frame) now = &phase;
    }
    for (int scancode : now->keys) key[scancode] = 1;
    if (now->sweep) {
        for (int scancode : kAims[frame / kFramesPerAim % kAims.size()]) key[scancode] = 1;
    }
    if (frame >= kLastScriptFrame) key[KEY_ESC] = 1;
}

int pagesShown = 0;
void pageTakesTime()
{
    ++pagesShown;
    tickCounter += kHelpPageTicks;
}

// What the script made happen, so the replays below are known to cover it.
struct Coverage {
    bool turned = false, fired = false, hit = false, pageMidFrame = false;
};

class DemoTest : public testworld::GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        waitForEscPressAndRelease = pageTakesTime;
        useLiveInput();
    }

    // Records the script; the clock moves by 0 to 3 ticks between frames, at
    // random but the same every time, so every gate is met at every spacing.
    DemoOutcome recordScript(const char* map, Demo& demo, Coverage& seen)
    {
        Level level;
        std::minstd_rand clockSteps(5);
        startRecording(level, map, 1234, demo);
        for (int frame = 0;; ++frame) {
            holdScriptKeys(frame);
            const int facing = level.craft->facing;
            if (!level.nextPass()) break;
            level.playFrame();
            tickCounter += static_cast<int>(clockSteps() % 4);
            seen.turned |= level.craft->facing != facing;
            for (Orb* orb : level.orbs) seen.fired |= orb->sprite->active;
            for (Alien* alien : level.aliens) seen.hit |= alien->health < alien->maxHealth;
        }
        const std::vector<TickRun>& help = demo.frames.at(kHelpFrame).ticks;
        seen.pageMidFrame = help.back().value - help.front().value == kHelpPageTicks;
        return finishRecording(level, demo);
    }

    // Plays the demo back: in step at every frame, to the end line given.
    void expectPlaysBack(const Demo& demo, const std::string& name, const std::string& endLine)
    {
        Level level;
        const PlaybackResult played = playDemo(level, demo);
        EXPECT_EQ(played.desync, "") << name;
        EXPECT_TRUE(played.complete) << name;
        EXPECT_EQ(demoEndLine(name + ".dem", played.outcome), endLine);
    }

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

    TempDir scratch;
};

class ScriptedDemoTest : public DemoTest, public ::testing::WithParamInterface<const char*> {};

// The script recorded now plays back in step at every frame; its golden demo, recorded once, plays to the
// end line it had then, so any change to a rule of play fails at the first frame it touches.
TEST_P(ScriptedDemoTest, ARecordedRunAndTheGoldenDemoPlayBackInStepToTheirEndLines)
{
    const std::string name = GetParam();
    Demo recorded;
    Coverage seen;
    const DemoOutcome outcome = recordScript((name + ".fmp").c_str(), recorded, seen);
    EXPECT_TRUE(seen.turned && seen.fired && seen.hit && seen.pageMidFrame)
        << seen.turned << seen.fired << seen.hit << seen.pageMidFrame;
    ASSERT_LT(outcome.frames, kLastScriptFrame) << "the game ended by game over";

    const std::string golden = testDataDir() + "/demos/" + name + ".dem";
    std::string error, goldenLine;
    if (std::getenv("GLIM_RECORD_GOLDEN_DEMOS") != nullptr) {
        ASSERT_TRUE(saveDemo(golden, recorded, error)) << error;
        std::ofstream(golden + ".end") << demoEndLine(name + ".dem", outcome) << "\n";
    }
    std::getline(std::ifstream(golden + ".end"), goldenLine);
    Demo stored;
    ASSERT_TRUE(loadDemo(golden, stored, error)) << error;
    tickCounter = 99999;  // playback takes its clock from the file
    pagesShown = 0;
    expectPlaysBack(recorded, name, demoEndLine(name + ".dem", outcome));
    expectPlaysBack(stored, name, goldenLine);
    EXPECT_EQ(pagesShown, 0) << "playback does not wait on the pages";
    EXPECT_EQ(waitForEscPressAndRelease, pageTakesTime) << "the page wait is given back";
}

INSTANTIATE_TEST_SUITE_P(Maps, ScriptedDemoTest, ::testing::Values("level1", "test"));

TEST_F(DemoTest, AMapMadeInTiledStartsTheCartAtItsStartAndItDrivesAlongItsTrack)
{
    // The author's map of tests/data/tiled: a loop of track round cells (1, 1)
    // to (10, 8), four visible layers, start (3, 1), domes (5, 4) and (6, 6).
    const std::string map = scratch.file("author.fmp");
    const std::string make = "bash " + testDataDir() + "/tiled/make_author_map.sh " + scratch.path() + " 4 && " +
                             GLIM_BINARY_DIR "/tools/fmptiled import " + scratch.file("map.tmx") + " " + map;
    ASSERT_EQ(std::system(make.c_str()), 0) << make;
    Level level;
    level.begin(map.c_str());
    EXPECT_EQ((std::vector<int>{level.cellX, level.cellY, level.domes[0]->x, level.domes[1]->y,
                                level.domes[2]->sprite->active}),
              (std::vector<int>{3, 1, 5 * 32, 6 * 32, 0}));
    std::set<std::pair<int, int>> visited;
    key[KEY_LCONTROL] = 1;
    for (int frame = 0; frame < 300 && level.nextPass(); ++frame, ++tickCounter) {
        level.playFrame();
        const BlockRecord* under = getBlockAt(level.cellX, level.cellY);
        ASSERT_NE(under->flags & 0x0F, 0) << "off the track at " << level.cellX << ", " << level.cellY;
        visited.emplace(level.cellX, level.cellY);
    }
    level.end();
    EXPECT_GE(visited.size(), 10u) << "the cart drove along the loop";
}

// A record changed in one place: playback stops at the frame it touches.
TEST_F(DemoTest, PlaybackNamesTheFirstFrameOutOfStep)
{
    Demo recorded;
    Coverage seen;
    recordScript("test.fmp", recorded, seen);
    struct Case {
        const char* change;
        std::function<void(Demo&)> apply;
        std::string desync;
    } cases[] = {
        {"hash", [](Demo& d) { d.frames[41].stateHash ^= 1; }, "frame 42: the state differs"},
        {"one read more", [](Demo& d) { ++d.frames[9].ticks.back().reads; },
         "frame 10: the clock was read"},
        {"seed", [](Demo& d) { d.header.seed += 1; }, "frame 0: the level is built otherwise"},
        {"carried score tick", [](Demo& d) { d.header.carried.lastScoreTick = 500; }, "frame 0: the level"},
    };
    for (const Case& c : cases) {
        Demo demo = recorded;
        c.apply(demo);
        Level level;
        const PlaybackResult played = playDemo(level, demo);
        EXPECT_EQ(played.desync.substr(0, c.desync.size()), c.desync) << c.change << ": " << played.desync;
        EXPECT_FALSE(played.complete) << c.change;
        // The playback stops there rather than playing on to the end.
        EXPECT_EQ(played.outcome.frames, std::stoll(c.desync.substr(std::strlen("frame ")))) << c.change;
    }
}

// The seam live is the keyboard and the clock read on the spot, even when
// they change within a frame; recording latches the keys at the frame's
// start and keeps every clock reading in order.
TEST_F(DemoTest, LiveReadsPassThroughAndRecordingKeepsWhatEachFrameSaw)
{
    std::vector<InputFrame> frames;
    for (InputMode mode : {InputMode::Live, InputMode::Recording}) {
        if (mode == InputMode::Recording) recordInputInto(frames);
        tickCounter = 7;
        key[KEY_SPACE] = 0;
        beginInputFrame();
        const int32_t first = playTick();
        key[KEY_SPACE] = 1;
        tickCounter = 8;
        EXPECT_EQ(playAction(PlayAction::Fire), mode == InputMode::Live);
        EXPECT_EQ(std::make_pair(first, playTick()), std::make_pair(7, 8));
        playTick();
        endInputFrame(0xabc);
        beginInputFrame();  // the test that ends the loop is not kept
    }
    // One frame: no key, 7 read once and 8 twice, the hash.
    Demo seen, want;
    seen.frames = frames;
    want.frames = {{0, {{7, 1}, {8, 2}}, 0xabc}};
    EXPECT_EQ(encodeDemo(seen), encodeDemo(want));
    useLiveInput();
}

// Every kind of damage, and a map that is gone or changed, is named in one
// line before anything plays.
TEST_F(DemoTest, TheReaderNamesWhatIsWrongWithABadFile)
{
    Demo good;
    good.header.mapName = "map.fmp";
    good.header.programVersion = "1.0.0";
    good.frames = {{1, {{0, 3}, {1, 1}}, 5}, {0, {{7, 2}}, 6}};
    ASSERT_TRUE(writeFile(scratch.file("map.fmp"), "FORM tiny"));
    ASSERT_TRUE(mapChecksum(scratch.file("map.fmp"), good.header.mapChecksum));
    ScopedChdir inScratch(scratch.path());
    const std::string bytes = encodeDemo(good);
    const std::size_t flagsAt = 8 + 2 + 2 + 7 + 2 + 5 + 4 * 4;
    const auto edited = [&](std::function<void(Demo&)> edit) { Demo d = good; edit(d); return encodeDemo(d); };
    const auto poked = [&](std::size_t at, char value) { std::string b = bytes; b[at] = value; return b; };
    const struct {
        std::string file;
        std::string error;
    } cases[] = {
        {"", "cannot be read"},
        {poked(0, 'X'), "not a demo file (no GLIMDEMO at its start)"},
        {poked(8, 2), "format version 2, this build reads version 1"},
        {bytes.substr(0, flagsAt), "truncated in the header"},
        {bytes.substr(0, bytes.size() - 3), "truncated in frame 2 of 2"},
        {poked(flagsAt + 5, 100), "truncated: 100 frames announced, room for at most 4"},
        {poked(flagsAt, 0x10), "the header does not parse: unknown flag bits 0x10"},
        {edited([](Demo& d) { d.header.mapName = "map\x1b.fmp"; }), "the header does not parse: the map name is empty"},
        {edited([](Demo& d) { d.frames[1].keys = 0x8001; }), "frame 2 does not parse: unknown key bits 0x8000"},
        {edited([](Demo& d) { d.frames[0].ticks[1].reads = 0; }), "frame 1 does not parse: a clock reading counted 0 times"},
        {edited([](Demo& d) { d.frames[1].ticks[0].value = 0; }), "frame 2 does not parse: the clock goes back from 1 to 0"},
        {bytes + "x", "stray bytes after the last frame: 1"},
        {edited([](Demo& d) { d.header.mapName = "gone.fmp"; }), "its map gone.fmp cannot be read"},
        {edited([](Demo& d) { d.header.mapChecksum += 1; }), "its map map.fmp is not the one it was recorded on"},
        {bytes, ""},
    };
    for (const auto& c : cases) {
        std::remove("bad.dem");
        if (!c.file.empty()) {
            ASSERT_TRUE(writeFile("bad.dem", c.file));
        }
        Demo demo;
        std::string error;
        EXPECT_EQ(loadDemo("bad.dem", demo, error), c.error.empty()) << c.error;
        EXPECT_EQ(error.substr(0, 14 + c.error.size()), c.error.empty() ? "" : "demo bad.dem: " + c.error);
        if (c.error.empty()) {
            EXPECT_EQ(encodeDemo(demo), bytes) << "read back as written";
        }
    }
}

// Recorded as it is played: the pad's frames keep the demo's key bits, so
// the run plays back with the pad gone, to the same end line. (Which action
// each of the pad's inputs works is the pad test's.)
TEST_F(DemoTest, ThePadDrivesFiresAndLeavesAndTheRunReplays)
{
    VirtualPad pad;
    Demo demo;
    Level level;
    startRecording(level, "test.fmp", 77, demo);
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MAX);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(frames(level, 40));
    EXPECT_TRUE(level.frontEnginesOn);
    EXPECT_GT(testworld::active(level.orbs), 0);
    pad.restAll();
    pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_FALSE(frames(level, 1));
    const DemoOutcome outcome = finishRecording(level, demo);
    pad.unplug();
    expectPlaysBack(demo, "pad", demoEndLine("pad.dem", outcome));
}

// Fire moved to ENTER: ENTER shoots and SPACE no longer does.
TEST_F(DemoTest, TheRulesSeeTheBoundKeysAndNotTheOldOnes)
{
    PlayBindings bindings = defaultPlayBindings();
    bindings[static_cast<int>(PlayAction::Fire)] = {KEY_ENTER, 0};
    setPlayBindings(bindings);
    for (int scancode : {KEY_SPACE, KEY_ENTER}) {
        Level level;
        level.begin("test.fmp");
        key[scancode] = 1;
        EXPECT_TRUE(frames(level, 8));  // past the wait for the first shot
        key[scancode] = 0;
        EXPECT_EQ(testworld::active(level.orbs) > 0, scancode == KEY_ENTER) << scancode;
        level.end();
    }
    // The help page names the moved keys.
    bindings[static_cast<int>(PlayAction::AimUp)] = {KEY_W, KEY_8_PAD};
    bindings[static_cast<int>(PlayAction::Lock)] = {KEY_L, 0};
    setPlayBindings(bindings);
    const std::vector<PageLine> shown = helpPageLines();
    EXPECT_EQ(shown[1].text, "LEFT CONTROL - Turn on front engines") << "an unmoved key keeps the page's words";
    EXPECT_EQ(shown[3].text, "ENTER - Fire fire-like weapon");
    EXPECT_EQ(shown[4].text, "W or 8_PAD/DOWN/LEFT/RIGHT (up/down/left/right) - Aim Turret");
    EXPECT_EQ(shown[7].text, "L - Lock Turret");
    setPlayBindings(defaultPlayBindings());
}

// The page's own pauses press ESC or the pad's A from pause pressAt until pause releaseAt; a missed
// script still ends.
VirtualPad* pagePad = nullptr;
int pauses = 0, pressAt = 0, releaseAt = 0;
void scriptedPause()
{
    ++pauses;
    const bool down = (pauses >= pressAt && pauses < releaseAt) || (pauses >= 1000 && pauses % 2);
    if (pagePad) pagePad->button(SDL_CONTROLLER_BUTTON_A, down);
    else key[KEY_ESC] = down;
}

TEST_F(DemoTest, APageWaitsForAFreshPressAndReleaseOfEscOrThePadsA)
{
    VirtualPad pad;
    // ESC pressed after 5 pauses; ESC already held as the page opens; A still held from firing.
    const struct { bool pad, heldAtOpen; int press, release; } cases[] = {
        {false, false, 5, 12}, {false, true, 0, 3}, {true, true, 3, 5}};
    for (const auto& c : cases) {
        pagePad = c.pad ? &pad : nullptr;
        if (c.pad) pad.button(SDL_CONTROLLER_BUTTON_A, c.heldAtOpen);
        else key[KEY_ESC] = c.heldAtOpen;
        pauses = 0, pressAt = c.press, releaseAt = c.release;
        waitForEscPressAndReleaseWith(scriptedPause);
        EXPECT_EQ(pauses, c.release) << "case " << &c - cases;
    }
}
}  // namespace
