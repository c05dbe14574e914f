// Renders TEXT as the game's pages show it (the library's font, white on
// black) into OUT.bmp, for end-to-end checks of a screenshot's rows.
#include <allegro.h>

#include <cerrno>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3 || install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 2;
    set_color_depth(32);
    BITMAP* line = create_bitmap(text_length(font, argv[1]) + 1, text_height(font));
    clear_to_color(line, makecol(0, 0, 0));
    textout_ex(line, font, argv[1], 0, 0, makecol(255, 255, 255), -1);
    const int failed = save_bitmap(argv[2], line, nullptr);
    destroy_bitmap(line);
    return failed ? 1 : 0;
}
END_OF_MAIN()
