#include "Harbinax/SplashShape.h"

namespace {

bool IsHole(const unsigned char* pixel)
{
    return pixel[0] == 0x00 && pixel[1] == 0xFF && pixel[2] == 0x00;
}

}  // namespace

std::vector<SShapeRun> OpaqueRuns(const unsigned char* rgb, int imageWidth, int width, int height)
{
    std::vector<SShapeRun> runs;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rgb + static_cast<long>(y) * imageWidth * 3;
        int x = 0;
        while (x < width) {
            while (x < width && IsHole(row + 3 * x))
                ++x;
            const int start = x;
            while (x < width && !IsHole(row + 3 * x))
                ++x;
            if (x > start)
                runs.push_back({start, y, x - start});
        }
    }
    return runs;
}
