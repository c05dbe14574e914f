// The end of a pass: the pacer on a fake clock, the scaled picture, the PNG screenshots and the F12 and
// close-button handling that every pass and key wait goes through.
#include <allegro.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/pacer.h"
#include "base/pass_end.h"
#include "base/scaled_screen.h"
#include "base/screenshot.h"
#include "tests/support/headless.h"

namespace {

constexpr int64_t kMs = 1000000;
constexpr int64_t kSecond = 1000 * kMs;
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

TEST(Pacer, SleepsToAbsoluteDeadlinesAndALatePassRestartsTheScheduleWithoutABurst)
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
}

TEST(Pacer, TenThousandPassesAt60EndOnTheExactDeadlineWithoutDrift)
{
    Pacer pacer(60, kFakeClock);
    const int64_t start = fakeNow;
    const std::vector<int64_t> wakes = pace(pacer, std::vector<int64_t>(10000, 3 * kMs));
    ASSERT_EQ(wakes.size(), 10000u);
    EXPECT_EQ(fakeNow - start, 10000 * kSecond / 60);
    EXPECT_EQ(wakes[5999], 100 * kSecond);
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

// Each pixel of the enlarged picture is the game pixel it lies in.
int mismatches(BITMAP* small, BITMAP* large, int scale)
{
    int wrong = 0;
    for (int y = 0; y < large->h; ++y)
        for (int x = 0; x < large->w; ++x) wrong += getpixel(large, x, y) != getpixel(small, x / scale, y / scale);
    return wrong;
}

TEST(ScaledScreen, APresentShowsThePictureReplicatedIntoSBySSquaresAndScaleOneIsTheLibrarysScreen)
{
    startHeadless();
    BITMAP* picture = randomPicture(640, 480);
    for (int scale : {1, 2, 3}) {
        // The mode as set for the scale; the game then draws into a 640 x 480 stand-in.
        destroy_bitmap(screen);
        screen = create_bitmap_ex(32, 640 * scale, 480 * scale);
        BITMAP* real = screen;
        beginScaledScreen(scale);
        EXPECT_EQ((std::vector<int>{screen == real, screen->w, screen->h, screenScale()}),
                  (std::vector<int>{scale == 1, 640, 480, scale}));
        blit(picture, screen, 0, 0, 0, 0, 640, 480);
        presentScreen();
        EXPECT_EQ(mismatches(picture, real, scale), 0) << scale;
        restoreLibraryScreen();
        restoreLibraryScreen();  // a second call (the exit handler after shutdown) changes nothing
        EXPECT_EQ(screen, real);
    }
    destroy_bitmap(picture);
    startHeadless();
}

// A picture's pixels as RGB bytes; a PNG's as libpng's own reader gives them.
std::vector<png_byte> rgbOf(BITMAP* picture)
{
    std::vector<png_byte> bytes;
    for (int i = 0; i < picture->w * picture->h; ++i) {
        const int colour = getpixel(picture, i % picture->w, i / picture->w);
        bytes.insert(bytes.end(), {png_byte(getr32(colour)), png_byte(getg32(colour)), png_byte(getb32(colour))});
    }
    return bytes;
}
std::vector<png_byte> rgbOfPng(const std::string& path)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    return pixels;
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
    EXPECT_TRUE(rgbOfPng(first) == rgbOf(picture));
    // Each folder made on the way is the player's alone, whatever the umask lets through.
    for (const char* made : {"made", "made/for", "made/for/shots"}) {
        EXPECT_EQ(std::filesystem::status(data.file(made)).permissions(), std::filesystem::perms::owner_all) << made;
    }

    // A file squatting on the next name is passed over, not overwritten.
    const std::string stem = first.substr(0, first.rfind('-') + 1);
    const std::string squatter = stem + std::to_string(std::stoi(first.substr(stem.size())) + 1) + ".png";
    writeFile(squatter, "mine");
    const std::string second = saveScreenshot(picture, folder, 0);
    EXPECT_EQ((std::vector<bool>{second != first, second != squatter, std::filesystem::file_size(squatter) == 4}),
              (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(rgbOfPng(second) == rgbOf(picture));
    destroy_bitmap(picture);

    writeFile(data.file("a-file"), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveScreenshot(screen, data.file("a-file/shots"), 0), "");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("glimmerfall: screenshot not saved: cannot make ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

int quits = 0;

TEST(PassEnd, F12SavesOneShotPerPressAndACloseClickQuitsAtTheNextPassOrWait)
{
    startHeadless();
    TempDir data;
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    const std::string folder = data.path() + "/glimmerfall/screenshots";
    const auto shots = [&] {
        std::error_code none;
        return std::distance(std::filesystem::directory_iterator(folder, none), std::filesystem::directory_iterator());
    };
    // Not allowed (no settings in use): F12 writes nothing.
    key[KEY_F12] = 1;
    endPass();
    key[KEY_F12] = 0;
    endPass();
    EXPECT_EQ(shots(), 0);
    allowScreenshots(true);
    key[KEY_F12] = 1;
    endPass();
    idleWhileWaiting();
    endPass();
    EXPECT_EQ(shots(), 1);
    key[KEY_F12] = 0;
    endPass();
    key[KEY_F12] = 1;
    idleWhileWaiting();
    key[KEY_F12] = 0;
    EXPECT_EQ(shots(), 2);
    allowScreenshots(false);

    setQuitHandler([] { ++quits; });
    endPass();
    EXPECT_EQ(quits, 0);
    requestClose();
    idleWhileWaiting();
    endPass();
    EXPECT_EQ(quits, 2);
    setQuitHandler(nullptr);
}

}  // namespace
