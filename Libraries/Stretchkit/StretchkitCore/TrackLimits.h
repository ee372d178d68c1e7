// The smallest and largest size a top-level window may be given by the user.
#pragma once

#include "StretchkitCore/LayoutGeometry.h"

// Track sizes of a window; -1 in a dimension means the window system's own limit.
struct SMinMaxInfo {
    SLayoutSize minTrackSize{-1, -1};
    SLayoutSize maxTrackSize{-1, -1};
};

class CTrackLimits {
public:
    void LimitMinTrack(SLayoutSize size);
    void UnlimitMinTrack();
    void LimitMaxTrack(SLayoutSize size);
    void UnlimitMaxTrack();

    // Writes the limits that are set; the others keep what the structure holds.
    void FillMinMaxInfo(SMinMaxInfo* info) const;

private:
    bool m_useMaxTrack = false;
    bool m_useMinTrack = false;
    SLayoutSize m_minTrack;
    SLayoutSize m_maxTrack;
};

// The window size that a drag of the size grip from startMouse to mouse asks for, starting at
// startSize, held within the limits (-1 meaning none) and never below 1 x 1.
SLayoutSize GripDragSize(SLayoutSize startSize, SLayoutPoint startMouse, SLayoutPoint mouse,
                         const SMinMaxInfo& limits);
