#include "Harbinax/SplashShape.h"

namespace {

bool IsHole(const unsigned char* pixel, std::uint32_t hole)
{
    return pixel[0] == (hole >> 16 & 0xFF) && pixel[1] == (hole >> 8 & 0xFF) && pixel[2] == (hole & 0xFF);
}

}  // namespace

std::vector<SShapeRun> OpaqueRuns(const unsigned char* rgb, int imageWidth, int width, int height,
                                  std::uint32_t hole)
{
    std::vector<SShapeRun> runs;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rgb + static_cast<long>(y) * imageWidth * 3;
        int x = 0;
        while (x < width) {
            while (x < width && IsHole(row + 3 * x, hole))
                ++x;
            const int start = x;
            while (x < width && !IsHole(row + 3 * x, hole))
                ++x;
            if (x > start)
                runs.push_back({start, y, x - start});
        }
    }
    return runs;
}
