// Renders TEXT as the game's pages show it (the library's font, white on
// black) into OUT.bmp, for end-to-end checks of a screenshot's rows.
// usage: game_text_reference TEXT OUT.bmp
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    constexpr int kDepth = 32;
    if (argc != 3 || install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "usage: game_text_reference TEXT OUT.bmp\n");
        return 2;
    }
    set_color_depth(kDepth);
    BITMAP* line = create_bitmap_ex(kDepth, std::max(1, text_length(font, argv[1])), text_height(font));
    clear_to_color(line, makecol_depth(kDepth, 0, 0, 0));
    textout_ex(line, font, argv[1], 0, 0, makecol_depth(kDepth, 255, 255, 255), -1);
    const int failed = save_bitmap(argv[2], line, nullptr);
    destroy_bitmap(line);
    return failed ? 1 : 0;
}
END_OF_MAIN()
