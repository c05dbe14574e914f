// The track rule shared by the map generator and fmpinfo: every way out of
// a track cell (bits up 0x01, down 0x02, left 0x04, right 0x08) must lead
// to a neighbour inside the map that has the way back.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace trackrule {

constexpr uint8_t kWayUp = 0x01;
constexpr uint8_t kWayDown = 0x02;
constexpr uint8_t kWayLeft = 0x04;
constexpr uint8_t kWayRight = 0x08;

// One line per way out that leads off the map or into a cell without the
// way back; empty for a sound track. ways holds width x height cells, row
// after row.
inline std::vector<std::string> trackFaults(int width, int height, const std::vector<uint8_t>& ways)
{
    struct Direction {
        uint8_t way;
        uint8_t back;
        int dx, dy;
        const char* name;
        const char* backName;
    };
    static const Direction kDirections[] = {
        {kWayUp, kWayDown, 0, -1, "up", "down"},
        {kWayDown, kWayUp, 0, 1, "down", "up"},
        {kWayLeft, kWayRight, -1, 0, "left", "right"},
        {kWayRight, kWayLeft, 1, 0, "right", "left"},
    };
    std::vector<std::string> faults;
    char line[128];
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (const Direction& d : kDirections) {
                if (!(ways[y * width + x] & d.way)) {
                    continue;
                }
                const int nx = x + d.dx;
                const int ny = y + d.dy;
                if (nx < 0 || ny < 0 || nx >= width || ny >= height) {
                    std::snprintf(line, sizeof line, "cell (%d, %d) opens %s off the map", x, y, d.name);
                    faults.push_back(line);
                } else if (!(ways[ny * width + nx] & d.back)) {
                    std::snprintf(line, sizeof line, "cell (%d, %d) opens %s but (%d, %d) does not open %s", x, y,
                                  d.name, nx, ny, d.backName);
                    faults.push_back(line);
                }
            }
        }
    }
    return faults;
}

}  // namespace trackrule
