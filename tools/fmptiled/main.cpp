// fmptiled: the bridge between FMP maps and the Tiled map editor. "export"
// writes a map as TMX with its tileset picture; "import" makes an FMP map of
// a TMX or TMJ map, refusing with one line and status 2 what FMP cannot hold.
#include "tilemap/decode.h"
#include "tools/assetgen/fmp_writer.h"
#include "tools/fmpinfo/library.h"
#include "tools/fmptiled/export.h"
#include "tools/fmptiled/import.h"
#include "tools/fmptiled/tiled_map.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

constexpr int kExitRefused = 2;
constexpr int kDefaultDepth = 32;

int usage()
{
    std::fprintf(stderr,
                 "usage: fmptiled export MAP.fmp OUT.tmx | fmptiled import IN.tmx|IN.tmj OUT.fmp "
                 "[--depth 8|15|16|24|32]\n");
    return kExitRefused;
}

bool parseDepth(const char* text, int* depth)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    *depth = static_cast<int>(value);
    return end != text && *end == '\0' && isKnownDepth(*depth) && value == *depth;
}

// The map is written beside its final name and renamed into place, so a
// refusal or a failed write leaves no output file.
int importMap(const std::string& in, const std::string& out, int depth)
{
    std::vector<uint8_t> bytes;
    try {
        const fmp::Map map = tiled::buildFmpMap(tiled::readMap(in), depth);
        std::string error;
        bytes = fmp::encode(map, &error);
        if (bytes.empty()) {
            throw tiled::Refusal(in + ": " + error);
        }
    } catch (const tiled::Refusal& refusal) {
        std::fprintf(stderr, "fmptiled: %s\n", refusal.what());
        return kExitRefused;
    }
    if (!startToolLibrary(kDefaultDepth)) {
        std::fprintf(stderr, "fmptiled: the library could not start\n");
        return 1;
    }
    const std::string partial = out + ".partial";
    if (!fmp::writeFile(partial, bytes, false) || std::rename(partial.c_str(), out.c_str()) != 0) {
        unlink(partial.c_str());
        std::fprintf(stderr, "fmptiled: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "export") == 0) {
        return tiled::exportMap(argv[2], argv[3]);
    }
    if ((argc == 4 || argc == 6) && std::strcmp(argv[1], "import") == 0) {
        int depth = kDefaultDepth;
        if (argc == 6 && (std::strcmp(argv[4], "--depth") != 0 || !parseDepth(argv[5], &depth))) {
            return usage();
        }
        return importMap(argv[2], argv[3], depth);
    }
    return usage();
}
