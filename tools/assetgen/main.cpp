// assetgen: writes every picture, map and piece of music the game loads into
// the folder named on the command line.
#include "tools/assetgen/assets.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = writeMusicAssets(folder) && writePictureAssets(folder) && writeMapAssets(folder);
    return ok ? 0 : 1;
}
