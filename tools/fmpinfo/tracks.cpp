#include "tools/fmpinfo/commands.h"

#include <cstdio>

int fmpinfoTracks(const char*)
{
    std::fprintf(stderr, "fmpinfo: --tracks is not available yet\n");
    return 2;
}
