// The end of a pass: the pacer on a fake clock, the scaled picture, the PNG screenshots and the F12 and
// close-button handling that every pass and key wait goes through.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>
#include <unistd.h>

#include "base/pacer.h"
#include "base/pass_end.h"
#include "base/png_file.h"
#include "base/scaled_screen.h"
#include "base/screenshot.h"
#include "tests/support/headless.h"

namespace {

constexpr int64_t kMs = 1000000;
int64_t fakeNow = 0;
std::vector<int64_t> wakes;  // the time of every sleep's end
const PaceClock kFakeClock = {
    [] { return fakeNow; },
    [](int64_t until) { wakes.push_back(until); fakeNow = std::max(fakeNow, until); },
};

// Passes that take `work` each after the one that sets the schedule; the wake times from its start.
std::vector<int64_t> pace(Pacer& pacer, const std::vector<int64_t>& work)
{
    const int64_t start = fakeNow;
    wakes.clear();
    pacer.endPass();
    for (int64_t took : work) {
        fakeNow += took;
        pacer.endPass();
    }
    for (int64_t& wake : wakes) wake -= start;
    return wakes;
}

TEST(Pacer, SleepsToExactAbsoluteDeadlinesEvenFarPastOverflowAndALatePassRestartsTheScheduleWithoutABurst)
{
    const struct { int rate; std::vector<int64_t> work, wakes; } cases[] = {
        {100, {1 * kMs, 9 * kMs, 3 * kMs}, {10 * kMs, 20 * kMs, 30 * kMs}},
        // 60 a second: 16.67 ms, the fraction kept by counting from the start.
        {60, {kMs, kMs, kMs}, {16666666, 33333333, 50 * kMs}},
        // The 35 ms pass misses two deadlines: the next pass starts at once, then every 10 ms from there.
        {100, {kMs, 35 * kMs, kMs, kMs}, {10 * kMs, 55 * kMs, 65 * kMs}},
        {100, {10 * kMs, kMs}, {20 * kMs}},  // ending right on the deadline is not late enough to wait
        {0, {kMs, kMs}, {}},                  // unpaced
    };
    for (const auto& c : cases) {
        Pacer pacer(c.rate, kFakeClock);
        EXPECT_EQ(pace(pacer, c.work), c.wakes) << c.rate;
    }
    // A new rate starts a schedule of its own.
    Pacer pacer(100, kFakeClock);
    pace(pacer, {kMs, kMs});
    pacer.setRate(50);
    EXPECT_EQ(pace(pacer, {kMs, kMs}), (std::vector<int64_t>{20 * kMs, 40 * kMs}));
    // A pass ends on its exact deadline far past where nanosecond products overflow.
    const struct { int64_t passes; int rate; int64_t ns; } far[] = {
        {10000000000, 60, 166666666666666666},  // about 5.3 years at 60; passes * 10^9 needs 64 bits more
        {9000000000000, 1000, 9000000000000000000},
    };
    for (const auto& c : far) EXPECT_EQ(passEndOffsetNs(c.passes, c.rate), c.ns) << c.passes << " at " << c.rate;
}

// A picture of random colours: every pixel differs from its neighbours more often than not.
BITMAP* randomPicture(int w, int h)
{
    BITMAP* picture = create_bitmap_ex(32, w, h);
    std::srand(9);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) putpixel(picture, x, y, makecol32(std::rand() % 256, std::rand() % 256, std::rand() % 256));
    return picture;
}

// The picture shown on a larger screen equals the library's own stretch of it there, whole-number and
// fit sizes alike, centred with black borders. (The picture kept over a mode switch and given back at the
// end are tried with Alt+Enter and every way out of the real game.)
TEST(ScaledScreen, APresentIsTheLibrarysStretchCentredInBlackBorders)
{
    startHeadless();
    BITMAP* picture = randomPicture(640, 480);
    const struct { int screenW, screenH, w, h; } cases[] = {
        {1280, 960, 1280, 960}, {1920, 1080, 1280, 960}, {1920, 1080, 1440, 1080}, {1366, 768, 1024, 768},
        {2000, 1500, 1920, 1440}, {640, 480, 640, 480}, {3200, 2400, 3200, 2400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        destroy_bitmap(screen);
        screen = create_bitmap_ex(32, c.screenW, c.screenH);
        clear_to_color(screen, makecol32(1, 2, 3));  // what a new mode may hold before it is cleared
        BITMAP* real = screen;
        placeScaledScreen(c.w, c.h);
        ASSERT_EQ((std::vector<int>{screen != real, screen->w, screen->h}), (std::vector<int>{1, 640, 480}));
        blit(picture, screen, 0, 0, 0, 0, 640, 480);
        presentScreen();
        BITMAP* expected = create_bitmap_ex(32, c.screenW, c.screenH);
        clear_bitmap(expected);
        stretch_blit(picture, expected, 0, 0, 640, 480, (c.screenW - c.w) / 2, (c.screenH - c.h) / 2, c.w, c.h);
        int wrong = 0;
        for (int y = 0; y < c.screenH; ++y)
            wrong += std::memcmp(real->line[y], expected->line[y], c.screenW * 4) != 0;
        EXPECT_EQ(wrong, 0);
        destroy_bitmap(expected);
        restoreLibraryScreen();
    }
    destroy_bitmap(picture);
    startHeadless();
    // A stand-in that cannot be made ends the game with the message, not a crash at the first draw.
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), refuseNewBitmaps(), placeScaledScreen(1280, 960)),
                ::testing::ExitedWithCode(0), "^Cannot create picture:  640 x 480");
}

// Whether the PNG, read back through libpng, holds exactly the picture's pixels (all opaque).
bool pngHolds(const std::string& path, BITMAP* picture)
{
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    std::string error;
    if (!readPngPixels(path, &width, &height, &pixels, &error) || width != picture->w || height != picture->h) {
        return false;
    }
    std::vector<uint8_t> expected;
    for (int i = 0; i < picture->w * picture->h; ++i) {
        const int colour = getpixel(picture, i % picture->w, i / picture->w);
        expected.insert(expected.end(), {uint8_t(getr32(colour)), uint8_t(getg32(colour)), uint8_t(getb32(colour))});
        expected.push_back(0xFF);  // opaque
    }
    return pixels == expected;
}

TEST(Screenshot, ThePngHoldsThePictureNoShotReplacesAFileAndAFolderThatCannotBeMadeCostsOnlyTheShot)
{
    startHeadless();
    TempDir data;
    const std::string folder = data.file("made/for/shots");
    BITMAP* picture = randomPicture(640, 480);
    const mode_t umaskBefore = umask(0);
    const std::string first = saveScreenshot(picture, folder, 0);
    umask(umaskBefore);
    EXPECT_TRUE(pngHolds(first, picture));
    // Each folder made on the way is the player's alone, whatever the umask lets through.
    for (const char* made : {"made", "made/for", "made/for/shots"}) {
        EXPECT_EQ(std::filesystem::status(data.file(made)).permissions(), std::filesystem::perms::owner_all) << made;
    }

    // A file squatting on the next name is passed over, not overwritten.
    const std::string stem = first.substr(0, first.rfind('-') + 1);
    const std::string squatter = stem + std::to_string(std::stoi(first.substr(stem.size())) + 1) + ".png";
    writeFile(squatter, "mine");
    const std::string second = saveScreenshot(picture, folder, 0);
    EXPECT_TRUE(second != first && second != squatter && std::filesystem::file_size(squatter) == 4) << second;
    EXPECT_TRUE(pngHolds(second, picture));
    destroy_bitmap(picture);

    writeFile(data.file("a-file"), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveScreenshot(screen, data.file("a-file/shots"), 0), "");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("glimmerfall: screenshot not saved: cannot make ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

std::vector<int> quits;  // the status of each call of the quit handler

TEST(PassEnd, F12AndMActOncePerPressAndACloseClickOrASignalQuitsWithItsStatusAtTheNextPassOrWait)
{
    startHeadless();
    TempDir data;
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    const std::string folder = data.path() + "/glimmerfall/screenshots";
    const auto shots = [&] {
        std::error_code none;
        return std::distance(std::filesystem::directory_iterator(folder, none), std::filesystem::directory_iterator());
    };
    // F12 and M held or not at passes and waits: each acts once a press. Until screenshots are
    // allowed (no settings in use) F12 writes nothing.
    static int mutes;
    mutes = 0;
    setMuteKeyHandler([] { ++mutes; });
    const struct { int code; bool held, atWait, allowed; } steps[] = {
        {KEY_F12, true, false, false}, {KEY_F12, false, false, false}, {KEY_F12, true, false, true},
        {KEY_F12, true, true, true},   {KEY_F12, true, false, true},   {KEY_F12, false, false, true},
        {KEY_F12, true, true, true},   {KEY_M, true, false, false},    {KEY_M, true, true, false},
        {KEY_M, false, false, false},  {KEY_M, true, true, false}};
    for (const auto& s : steps) {
        allowScreenshots(s.allowed);
        key[s.code] = static_cast<char>(s.held);
        (s.atWait ? idleWhileWaiting : endPass)();
    }
    key[KEY_F12] = key[KEY_M] = 0;
    allowScreenshots(false);
    setMuteKeyHandler(nullptr);
    EXPECT_EQ((std::vector<long>{shots(), mutes}), (std::vector<long>{2, 2}));

    // The close button and each signal, from the menu, play and the pages, are tried on the real game;
    // here: no quit until one is asked for, and of two requests the first stands.
    quits.clear();
    setQuitHandler([](int status) { quits.push_back(status); });
    endPass();
    catchQuitSignals();
    raise(SIGTERM);
    raise(SIGINT);
    idleWhileWaiting();
    EXPECT_EQ(quits, (std::vector<int>{128 + SIGTERM}));
    clearQuitRequest();  // and the next test, or this one repeated, starts with none
    for (int signalNumber : {SIGINT, SIGTERM, SIGQUIT}) signal(signalNumber, SIG_DFL);
    setQuitHandler(nullptr);
}

}  // namespace
