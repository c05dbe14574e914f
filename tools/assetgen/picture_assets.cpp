// Writes every picture the game loads: the sprite strips, the panel and
// the pilot's face, drawn by the program itself and saved as BMP files.
#include "tools/assetgen/assets.h"

#include "tools/assetgen/picture_canvas.h"
#include "tools/assetgen/picture_parts.h"

#include <allegro.h>

namespace {

struct PictureFile {
    const char* name;
    BITMAP* (*draw)();
};

constexpr PictureFile kPictures[] = {
    {"Cart.bmp", pictures::cartStrip},   {"turret.bmp", pictures::turretStrip},
    {"Gun.bmp", pictures::gunPicture},   {"orb.bmp", pictures::orbStrip},
    {"alien.bmp", pictures::alienStrip}, {"dome.bmp", pictures::domeStrip},
    {"gui.bmp", pictures::panelPicture}, {"face.bmp", pictures::facePicture},
};

}  // namespace

bool writePictureAssets(const std::string& folder)
{
    if (!canvas::start()) {
        return false;
    }
    for (const PictureFile& picture : kPictures) {
        BITMAP* bitmap = picture.draw();
        const bool saved = canvas::save(bitmap, folder + "/" + picture.name);
        if (bitmap) {
            destroy_bitmap(bitmap);
        }
        if (!saved) {
            return false;
        }
    }
    return true;
}
