// assetgen: writes every picture, map and piece of music the game loads into
// the folder named on the command line; with --icons, the desktop icons.
#include "tools/assetgen/assets.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
        return writeIconAssets(argv[2]) ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER | %s --icons ICON_FOLDER\n", argv[0], argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = writeMusicAssets(folder) && writePictureAssets(folder) && writeMapAssets(folder);
    return ok ? 0 : 1;
}
