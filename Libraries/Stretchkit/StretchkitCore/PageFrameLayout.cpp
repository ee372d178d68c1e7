#include "StretchkitCore/PageFrameLayout.h"

#include <algorithm>

bool ShouldMaximize(SLayoutSize screen, SLayoutSize window)
{
    const bool fits = screen.cx >= window.cx && screen.cy >= window.cy;
    const bool large = screen.cx > 1024 && screen.cy > 768;
    return !(fits && large);
}

SPageFrameLayout ComputePageFrameLayout(const SPageFrameInput& in)
{
    SPageFrameLayout out;
    out.pageRect.left = 0;
    out.pageRect.top = in.topBarHeight;
    // Never a negative page, however small the screen.
    out.pageRect.right = std::max(0, std::min(in.page.cx, in.screen.cx - in.frameExtra.cx));
    out.pageRect.bottom =
        std::max(out.pageRect.top, std::min(in.page.cy + in.topBarHeight, in.screen.cy - in.frameExtra.cy));
    const int pageWidth = out.pageRect.Width();
    const int pageHeight = out.pageRect.Height();
    out.windowSize = {std::min(in.screen.cx, pageWidth + in.frameExtra.cx),
                      std::min(in.screen.cy, pageHeight + in.frameExtra.cy + in.topBarHeight)};
    out.contentSize = {pageWidth, pageHeight + in.topBarHeight};
    out.minTrackSize = {std::min(in.screen.cx, out.windowSize.cx / 2), std::min(in.screen.cy, out.windowSize.cy / 2)};
    out.maximize = ShouldMaximize(in.screen, out.windowSize);
    return out;
}
