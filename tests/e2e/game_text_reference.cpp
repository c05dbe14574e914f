// Renders one line of text the way the game's pages show it (the library's
// 8 x 8 font, white on black) into a picture, so that the end-to-end tests
// can compare a screenshot's row with it pixel for pixel.
// usage: game_text_reference TEXT OUT.bmp
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: game_text_reference TEXT OUT.bmp\n");
        return 2;
    }
    constexpr int kDepth = 32;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "cannot start the library\n");
        return 1;
    }
    set_color_depth(kDepth);
    const char* text = argv[1];
    const int width = text_length(font, text);
    const int height = text_height(font);
    BITMAP* line = create_bitmap_ex(kDepth, width > 0 ? width : 1, height);
    clear_to_color(line, makecol_depth(kDepth, 0, 0, 0));
    textout_ex(line, font, text, 0, 0, makecol_depth(kDepth, 255, 255, 255), -1);
    const int failed = save_bitmap(argv[2], line, nullptr);
    destroy_bitmap(line);
    if (failed != 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
END_OF_MAIN()
