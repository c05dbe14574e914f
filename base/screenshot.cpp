#include "base/screenshot.h"

#include <allegro.h>

#include "base/png_file.h"
#include "base/user_folders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
constexpr int kRgbBytes = static_cast<int>(PngChannels::Rgb);
// Names tried per shot before giving up: more shots than a second can hold.
constexpr int kNameAttempts = 10000;
constexpr const char* kFolderBelowData = "/screenshots";

void complain(const std::string& what)
{
    std::fprintf(stderr, "glimmerfall: screenshot not saved: %s\n", what.c_str());
}
}  // namespace

bool writePng(BITMAP* picture, std::FILE* out)
{
    const int depth = bitmap_color_depth(picture);
    std::vector<uint8_t> pixels(static_cast<size_t>(picture->w) * picture->h * kRgbBytes);
    uint8_t* at = pixels.data();
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            // getpixel reads any bitmap, the screen included.
            const int colour = getpixel(picture, x, y);
            *at++ = static_cast<uint8_t>(getr_depth(depth, colour));
            *at++ = static_cast<uint8_t>(getg_depth(depth, colour));
            *at++ = static_cast<uint8_t>(getb_depth(depth, colour));
        }
    }
    return writePngPixels(out, picture->w, picture->h, pixels.data(), PngChannels::Rgb);
}

std::string screenshotFolder()
{
    const std::string data = userDataFolder();
    return data.empty() ? "" : data + kFolderBelowData;
}

std::string saveScreenshot(BITMAP* picture, const std::string& folder, std::time_t when)
{
    if (folder.empty()) {
        complain("neither XDG_DATA_HOME nor HOME is set");
        return "";
    }
    const std::string notMade = makePrivateFolder(folder);
    if (!notMade.empty()) {
        complain("cannot make " + folder + ": " + notMade);
        return "";
    }
    char stamp[32];
    std::tm local{};
    localtime_r(&when, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    // The counter goes on across shots so that a name is rarely tried twice.
    static int counter = 0;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string path = folder + "/glimmerfall-" + stamp + "-" + std::to_string(++counter) + ".png";
        // "x": created here or not at all, so an older shot is never replaced.
        std::FILE* out = std::fopen(path.c_str(), "wbx");
        if (out == nullptr && errno == EEXIST) {
            continue;
        }
        if (out == nullptr) {
            complain("cannot write " + path + ": " + std::strerror(errno));
            return "";
        }
        const bool written = writePng(picture, out);
        if (std::fclose(out) != 0 || !written) {
            std::remove(path.c_str());
            complain("cannot write " + path);
            return "";
        }
        return path;
    }
    complain("no free name in " + folder);
    return "";
}
