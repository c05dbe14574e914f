#include "tools/fmpinfo/commands.h"

#include <cstdio>

int fmpinfoRender(const char*, const char*, int, int)
{
    std::fprintf(stderr, "fmpinfo: --render is not available yet\n");
    return 2;
}
