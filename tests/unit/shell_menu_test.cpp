// The main menu and the map menu, one pass at a time: the highlight and its
// wraps, the wait for a key's release before anything moves, what ENTER and
// ESC lead to, and what reaches the screen.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "shell/colors.h"
#include "shell/counters.h"
#include "shell/menu.h"
#include "shell/menu_selection.h"
#include "tests/support/headless.h"

namespace {

std::vector<std::string> events;
Menu* currentMenu = nullptr;

std::string keyName(int scancode)
{
    switch (scancode) {
    case KEY_UP: return "UP";
    case KEY_DOWN: return "DOWN";
    case KEY_ENTER: return "ENTER";
    case KEY_ESC: return "ESC";
    default: return "key " + std::to_string(scancode);
    }
}

// The person lets go of the key; the highlight at that moment is noted to
// show that nothing moved before the release.
void releaseKey(int scancode)
{
    events.push_back("released " + keyName(scancode) + " at " + std::to_string(currentMenu->selection));
    key[scancode] = 0;
}

void pressKey(int scancode)
{
    events.push_back("pressed " + keyName(scancode));
    key[scancode] = 1;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        text_mode(colorMagenta);
        for (int scancode = 0; scancode < KEY_MAX; ++scancode) {
            key[scancode] = 0;
        }
        events.clear();
        currentMenu = menu.get();
        clearGlyphRain(menu->rain);
        menu->overlay = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
        backBuffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
        hooks.waits = KeyWaits{releaseKey, pressKey};
        hooks.playMap = [](const char* mapFileName) { events.push_back(std::string("play ") + mapFileName); };
        hooks.showCredits = [] { events.push_back("credits"); };
        std::srand(1);
    }

    void TearDown() override
    {
        destroy_bitmap(menu->overlay);
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
        currentMenu = nullptr;
    }

    void mainPassWith(int scancode)
    {
        key[scancode] = 1;
        mainMenuPass(*menu, hooks);
    }

    void mapPassWith(int scancode)
    {
        key[scancode] = 1;
        mapMenuPass(*menu, hooks);
    }

    // Counts the pixels of one colour in the 8 x 8 character cell at (x, y).
    static int pixelsInCell(BITMAP* bitmap, int x, int y, int colour)
    {
        int count = 0;
        for (int row = y; row < y + 8; ++row) {
            for (int column = x; column < x + 8; ++column) {
                count += getpixel(bitmap, column, row) == colour;
            }
        }
        return count;
    }

    // The colour of the text whose first character sits at (x, y) on the
    // screen: white or red, or -1 when the cell holds neither or both.
    static int textColourAt(int x, int y)
    {
        const int white = pixelsInCell(screen, x, y, colorWhite);
        const int red = pixelsInCell(screen, x, y, colorRed);
        if (white > 0 && red == 0) {
            return colorWhite;
        }
        if (red > 0 && white == 0) {
            return colorRed;
        }
        return -1;
    }

    static constexpr int SCREEN_WIDTH = 640;
    static constexpr int SCREEN_HEIGHT = 480;
    std::unique_ptr<Menu> menu = std::make_unique<Menu>();
    MenuHooks hooks;
};

TEST(MenuSelection, WrapsAtBothEnds)
{
    EXPECT_EQ(nextEntry(0, 3), 1);
    EXPECT_EQ(nextEntry(1, 3), 2);
    EXPECT_EQ(nextEntry(2, 3), 0);
    EXPECT_EQ(previousEntry(0, 3), 2);
    EXPECT_EQ(previousEntry(2, 3), 1);
    EXPECT_EQ(nextEntry(1, 2), 0);
    EXPECT_EQ(previousEntry(0, 2), 1);
    EXPECT_EQ(previousEntry(1, 2), 0);
}

TEST_F(MenuTest, DownThreeTimesComesBackToTheFirstEntry)
{
    std::vector<int32_t> seen;
    for (int press = 0; press < 3; ++press) {
        mainPassWith(KEY_DOWN);
        seen.push_back(menu->selection);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 0}));
    // Each move waited for the key's release before it happened.
    EXPECT_EQ(events, (std::vector<std::string>{"released DOWN at 0", "released DOWN at 1", "released DOWN at 2"}));
}

TEST_F(MenuTest, UpFromTheFirstEntryHighlightsQuit)
{
    mainPassWith(KEY_UP);
    EXPECT_EQ(menu->selection, kEntryQuit);
    EXPECT_EQ(events, (std::vector<std::string>{"released UP at 0"}));
    EXPECT_TRUE(mainMenuGoesOn(*menu));
}

TEST_F(MenuTest, EnterOnQuitEndsTheMenuAfterTheRelease)
{
    menu->selection = kEntryQuit;
    mainPassWith(KEY_ENTER);
    EXPECT_TRUE(menu->quit);
    EXPECT_FALSE(mainMenuGoesOn(*menu));
    EXPECT_EQ(events, (std::vector<std::string>{"released ENTER at 2"}));
}

TEST_F(MenuTest, EscapeEndsTheMainMenuBeforeAnyPass)
{
    clear_to_color(screen, colorWhite);
    key[KEY_ESC] = 1;
    runMainMenu(*menu, hooks);
    EXPECT_FALSE(mainMenuGoesOn(*menu));
    // Nothing was presented and no wait for ESC's release happened.
    EXPECT_EQ(getpixel(screen, 0, 0), colorWhite);
    EXPECT_TRUE(events.empty());
}

TEST_F(MenuTest, EnterOnCreditsShowsThePageAndKeepsTheHighlight)
{
    menu->selection = kEntryCredits;
    mainPassWith(KEY_ENTER);
    EXPECT_EQ(events, (std::vector<std::string>{"released ENTER at 1", "credits"}));
    EXPECT_EQ(menu->selection, kEntryCredits);
    EXPECT_TRUE(mainMenuGoesOn(*menu));
}

// A level left with ESC: the map menu finds ESC still down, ends at once and
// waits for its release; the main menu goes on with the map menu's highlight.
TEST_F(MenuTest, EnterOnSelectMapRunsTheMapMenuUntilEscape)
{
    key[KEY_ESC] = 1;
    mainPassWith(KEY_ENTER);
    EXPECT_EQ(events, (std::vector<std::string>{"released ENTER at 0", "released ESC at 0"}));
    EXPECT_FALSE(menu->quit);
    EXPECT_TRUE(mainMenuGoesOn(*menu));
}

// The map menu comes back with "Level1" highlighted: index 1 is "Credits" in
// the main menu, but the ENTER was for the map menu and opens no page.
TEST_F(MenuTest, ReturningFromTheMapMenuOnLevel1OpensNoCredits)
{
    hooks.waits.whileDown = [](int scancode) {
        if (scancode == KEY_ESC) {
            currentMenu->selection = kEntryLevel1;  // as if DOWN was pressed in the map menu
        }
        releaseKey(scancode);
    };
    key[KEY_ESC] = 1;
    mainPassWith(KEY_ENTER);
    EXPECT_EQ(events, (std::vector<std::string>{"released ENTER at 0", "released ESC at 1"}));
    EXPECT_EQ(menu->selection, kEntryCredits);
    EXPECT_FALSE(menu->quit);
}

TEST_F(MenuTest, MapMenuSelectionWrapsOverTwoEntries)
{
    mapPassWith(KEY_DOWN);
    EXPECT_EQ(menu->selection, kEntryLevel1);
    mapPassWith(KEY_DOWN);
    EXPECT_EQ(menu->selection, kEntryTestMap);
    mapPassWith(KEY_UP);
    EXPECT_EQ(menu->selection, kEntryLevel1);
    EXPECT_EQ(events, (std::vector<std::string>{"released DOWN at 0", "released DOWN at 1", "released UP at 0"}));
}

TEST_F(MenuTest, EnterInTheMapMenuPlaysTheHighlightedMapWithoutWaiting)
{
    mapPassWith(KEY_ENTER);
    menu->selection = kEntryLevel1;
    mapMenuPass(*menu, hooks);  // ENTER still held: the choice is taken again
    EXPECT_EQ(events, (std::vector<std::string>{"play test.fmp", "play level1.fmp"}));
}

// The level ends with ESC held: the map menu sees it and returns after its
// release.
TEST_F(MenuTest, MapMenuEndsWhenTheLevelReturnsWithEscapeHeld)
{
    hooks.playMap = [](const char* mapFileName) {
        events.push_back(std::string("play ") + mapFileName);
        key[KEY_ENTER] = 0;
        key[KEY_ESC] = 1;
    };
    key[KEY_ENTER] = 1;
    runMapMenu(*menu, hooks);
    EXPECT_EQ(events, (std::vector<std::string>{"play test.fmp", "released ESC at 0"}));
}

TEST_F(MenuTest, MainMenuShowsTitleAndHighlightOverTheGlyphs)
{
    menu->selection = kEntryCredits;
    mainMenuPass(*menu, hooks);

    EXPECT_EQ(textColourAt(250, 180), colorWhite);  // "Glimmerfall"
    EXPECT_EQ(textColourAt(266, 190), colorWhite);  // "  Alpha Stages" after its two blanks
    EXPECT_EQ(pixelsInCell(screen, 250, 190, colorWhite), 0);
    EXPECT_EQ(textColourAt(250, 230), colorWhite);  // "Select a Map to Play"
    EXPECT_EQ(textColourAt(250, 240), colorRed);    // "Credits"
    EXPECT_EQ(textColourAt(250, 250), colorWhite);  // "Quit"
    EXPECT_EQ(textColourAt(250, 260), -1);

    // The glyphs came up green on black; the overlay's magenta never shows.
    int green = 0;
    for (int y = 0; y < SCREEN_HEIGHT; y += 2) {
        for (int x = 0; x < SCREEN_WIDTH; x += 2) {
            const int pixel = getpixel(screen, x, y);
            EXPECT_NE(pixel, colorMagenta);
            green += pixel == colorGreen;
        }
    }
    EXPECT_GT(green, 0);
}

TEST_F(MenuTest, MapMenuShowsItsEntriesWithoutGlyphs)
{
    std::srand(4);
    mainMenuPass(*menu, hooks);  // wakes glyphs that the map menu must not draw
    mapMenuPass(*menu, hooks);

    EXPECT_EQ(textColourAt(250, 180), colorWhite);
    EXPECT_EQ(textColourAt(250, 230), colorRed);    // "Test Map"
    EXPECT_EQ(textColourAt(250, 240), colorWhite);  // "Level1"
    EXPECT_EQ(textColourAt(250, 250), -1);          // no third entry
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            ASSERT_NE(getpixel(screen, x, y), colorGreen) << x << "," << y;
        }
    }
}

TEST_F(MenuTest, StartMenuResetsTheSharedStateAndMakesScreenSizedBitmaps)
{
    destroy_bitmap(menu->overlay);
    destroy_bitmap(backBuffer);
    menu->rain.slots[7].active = true;
    menu->selection = 2;
    menu->quit = true;
    levelMusicStarted = 1;
    {
        ScopedChdir inGame(gameDir());
        startMenu(*menu);
    }
    EXPECT_EQ(levelMusicStarted, 0);
    EXPECT_FALSE(menu->rain.slots[7].active);
    EXPECT_EQ(menu->selection, 0);
    EXPECT_FALSE(menu->quit);
    ASSERT_NE(backBuffer, nullptr);
    ASSERT_NE(menu->overlay, nullptr);
    EXPECT_EQ(backBuffer->w, SCREEN_WIDTH);
    EXPECT_EQ(menu->overlay->h, SCREEN_HEIGHT);

    releaseMenu(*menu);
    EXPECT_EQ(backBuffer, nullptr);
    EXPECT_EQ(menu->overlay, nullptr);
    EXPECT_EQ(menu->music.buffer, nullptr);
    EXPECT_EQ(menu->music.file, nullptr);
    // TearDown frees these; make fresh ones for it.
    menu->overlay = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    backBuffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
}

}  // namespace
