// The shape of a window cut from a bitmap: every pixel that is not of the hole colour belongs
// to the window (pure green 0x00FF00 for the splash screen, magenta 0xFF00FF for skins).
#pragma once

#include <cstdint>
#include <vector>

struct SShapeRun {
    int x;
    int y;
    int width;  // a run of window pixels on row y, one pixel high
};

// Runs of pixels other than hole (0xRRGGBB) of an RGB image (3 bytes a pixel, rows without
// padding), row by row from the top, over the first width x height pixels.
std::vector<SShapeRun> OpaqueRuns(const unsigned char* rgb, int imageWidth, int width, int height,
                                  std::uint32_t hole);
