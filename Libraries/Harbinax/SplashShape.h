// The shape of the splash window: every pixel of its bitmap that is not pure green
// (0x00FF00) belongs to the window; pure green marks the holes.
#pragma once

#include <vector>

struct SShapeRun {
    int x;
    int y;
    int width;  // a run of window pixels on row y, one pixel high
};

// Runs of non-transparent pixels of an RGB image (3 bytes a pixel, rows without padding),
// row by row from the top, over the first width x height pixels.
std::vector<SShapeRun> OpaqueRuns(const unsigned char* rgb, int imageWidth, int width, int height);
