// The credits page: its rows of white text on black, what it names, and the
// press-and-release of ESC that closes it.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/colors.h"
#include "shell/credits.h"
#include "shell/key_wait.h"
#include "tests/support/headless.h"

namespace {

constexpr int kGlyphSize = 8;

class CreditsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        text_mode(colorMagenta);
        // Whatever was on the screen before must go.
        clear_to_color(screen, colorGreen);
    }

    // Columns [first, last] of white ink in the text row at y, or -1, -1.
    static std::pair<int, int> inkSpan(int y)
    {
        int first = -1;
        int last = -1;
        for (int row = y; row < y + kGlyphSize; ++row) {
            for (int x = 0; x < screen->w; ++x) {
                if (getpixel(screen, x, row) == colorWhite) {
                    first = first < 0 || x < first ? x : first;
                    last = x > last ? x : last;
                }
            }
        }
        return {first, last};
    }
};

TEST_F(CreditsTest, NamesTheGameItsMakersAndItsLibraries)
{
    std::string page;
    for (const char* line : kCreditsLines) {
        page += line;
        page += '\n';
    }
    EXPECT_NE(page.find("Glimmerfall\n"), std::string::npos);
    EXPECT_NE(page.find("the Glimmerfall developers"), std::string::npos);
    EXPECT_NE(page.find("Allegro 4"), std::string::npos);
    EXPECT_NE(page.find("libvorbis"), std::string::npos);
    EXPECT_NE(page.find("ESC"), std::string::npos);
}

TEST_F(CreditsTest, EachLineIsARowOfWhiteTextOnBlackTenPixelsApart)
{
    drawCreditsPage(screen);
    for (int line = 0; line < kCreditsLineCount; ++line) {
        const int y = line * kCreditsLineSpacing;
        const std::string text = kCreditsLines[line];
        const auto [first, last] = inkSpan(y);
        if (text.empty()) {
            EXPECT_EQ(first, -1) << "row " << y;
            continue;
        }
        // Ink starts in the cell of the first character that is not a blank
        // and ends in the cell of the last one.
        const int leading = static_cast<int>(text.find_first_not_of(' '));
        const int trailing = static_cast<int>(text.find_last_not_of(' '));
        EXPECT_EQ(first / kGlyphSize, leading) << text;
        EXPECT_EQ(last / kGlyphSize, trailing) << text;
        // The two spare rows between lines stay black.
        for (int x = 0; x < screen->w; ++x) {
            ASSERT_EQ(getpixel(screen, x, y + kGlyphSize), colorBlack) << text;
        }
    }
    // Only white and black: the page's mask colour never reaches the screen.
    for (int y = 0; y < screen->h; ++y) {
        for (int x = 0; x < screen->w; ++x) {
            const int pixel = getpixel(screen, x, y);
            ASSERT_TRUE(pixel == colorWhite || pixel == colorBlack) << x << "," << y;
        }
    }
}

std::vector<std::string> waits;
void recordRelease(int scancode) { waits.push_back("up " + std::to_string(scancode)); }
void recordPress(int scancode) { waits.push_back("down " + std::to_string(scancode)); }

TEST_F(CreditsTest, StaysUntilEscapeIsPressedAndReleased)
{
    waits.clear();
    showCredits(KeyWaits{recordRelease, recordPress});
    const std::string esc = std::to_string(KEY_ESC);
    EXPECT_EQ(waits, (std::vector<std::string>{"down " + esc, "up " + esc}));
    EXPECT_EQ(inkSpan(kCreditsLineSpacing).first, 0);  // "Glimmerfall" is on the screen
}

}  // namespace
