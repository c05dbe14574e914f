#include <allegro.h>

#include "level/level.h"

int main(int, char**)
{
    Level level;
    return 0;
}
END_OF_MAIN()
