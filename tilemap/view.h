// Drawing the map: the 640 x 480 view at a camera, clamped into the map,
// layer 0 and then layer 1 as a masked overlay.
#pragma once

struct BITMAP;

constexpr int kViewWidth = 640;
constexpr int kViewHeight = 480;

void drawMapView(BITMAP* dest, int* cameraX, int* cameraY);
void drawBackgroundLayer(BITMAP* dest, int mapX, int mapY, int x, int y, int w, int h);
void drawForegroundLayer(BITMAP* dest, int mapX, int mapY, int x, int y, int w, int h, int which);
