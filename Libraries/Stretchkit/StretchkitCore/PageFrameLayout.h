// Sizing a page dialog around its page area: the page sits below the top bar, the window is
// as large as page, bar and frame need but never larger than the screen, and on small screens
// the window opens maximised.
#pragma once

#include "StretchkitCore/LayoutGeometry.h"

struct SPageFrameInput {
    SLayoutSize page;        // the page area asked for
    int topBarHeight = 0;    // 0 without a shown top bar
    SLayoutSize frameExtra;  // window size less client size (borders, caption, menu bar)
    SLayoutSize screen;
};

struct SPageFrameLayout {
    SLayoutRect pageRect;     // in client coordinates
    SLayoutSize windowSize;   // outer size of the dialog
    SLayoutSize contentSize;  // what the client area needs: page and top bar
    SLayoutSize minTrackSize; // half the window, at most the screen
    bool maximize = false;
};

SPageFrameLayout ComputePageFrameLayout(const SPageFrameInput& input);

// Screens up to 1024 x 768, and screens the window does not fit on, get a maximised window.
bool ShouldMaximize(SLayoutSize screen, SLayoutSize window);
