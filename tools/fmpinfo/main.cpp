// fmpinfo: a map author's look into an FMP file: a readable summary, a
// canonical dump for tests, track checks and a render of the view.
#include "tools/fmpinfo/commands.h"
#include "tools/fmpinfo/library.h"
#include "tools/fmpinfo/map_report.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kExitUsage = 2;
constexpr int kDefaultDepth = 32;

int usage()
{
    std::fprintf(stderr,
                 "usage: fmpinfo FILE | fmpinfo --dump FILE [--depth 8|15|16|24|32] | fmpinfo --tracks FILE | "
                 "fmpinfo --render FILE OUT.bmp [--camera X Y]\n");
    return kExitUsage;
}

bool parseInt(const char* text, int* value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < -1000000 || parsed > 1000000) {
        return false;
    }
    *value = static_cast<int>(parsed);
    return true;
}

bool isScreenDepth(int depth)
{
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

int start(int depth)
{
    if (!startToolLibrary(depth)) {
        std::fprintf(stderr, "fmpinfo: the library could not start\n");
        return 1;
    }
    return 0;
}

int runDump(int argc, char** argv)
{
    int depth = kDefaultDepth;
    if (argc == 5 && std::strcmp(argv[3], "--depth") == 0) {
        if (!parseInt(argv[4], &depth) || !isScreenDepth(depth)) {
            return usage();
        }
    } else if (argc != 3) {
        return usage();
    }
    if (start(depth) != 0) {
        return 1;
    }
    return fmpinfoDump(argv[2], stdout);
}

int runRender(int argc, char** argv)
{
    int cameraX = 0;
    int cameraY = 0;
    if (argc == 7 && std::strcmp(argv[4], "--camera") == 0) {
        if (!parseInt(argv[5], &cameraX) || !parseInt(argv[6], &cameraY)) {
            return usage();
        }
    } else if (argc != 4) {
        return usage();
    }
    if (start(kDefaultDepth) != 0) {
        return 1;
    }
    return fmpinfoRender(argv[2], argv[3], cameraX, cameraY);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return usage();
    }
    const char* command = argv[1];
    if (std::strcmp(command, "--dump") == 0) {
        return runDump(argc, argv);
    }
    if (std::strcmp(command, "--render") == 0) {
        return runRender(argc, argv);
    }
    if (std::strcmp(command, "--tracks") == 0) {
        if (argc != 3) {
            return usage();
        }
        return start(kDefaultDepth) != 0 ? 1 : fmpinfoTracks(argv[2]);
    }
    if (command[0] == '-' || argc != 2) {
        return usage();
    }
    return start(kDefaultDepth) != 0 ? 1 : fmpinfoSummary(command, stdout);
}
