// The smallest and largest size a top-level window may be given by the user, and where it goes
// when maximised.
#pragma once

#include "StretchkitCore/LayoutGeometry.h"

// Track sizes of a window; -1 in a dimension means the window system's own limit.
// The maximised place keeps the window system's own unless a placement is set.
struct SMinMaxInfo {
    SLayoutSize minTrackSize{-1, -1};
    SLayoutSize maxTrackSize{-1, -1};
    SLayoutPoint maxPosition{-1, -1};
    SLayoutSize maxSize{-1, -1};
};

class CTrackLimits {
public:
    void LimitMinTrack(SLayoutSize size);
    void UnlimitMinTrack();
    void LimitMaxTrack(SLayoutSize size);
    void UnlimitMaxTrack();
    // The maximised window's position is the rectangle's top-left, its size the rectangle's.
    void SetMaximizedPlacement(const SLayoutRect& rect);
    void ClearMaximizedPlacement();

    // Writes the limits that are set; the others keep what the structure holds.
    void FillMinMaxInfo(SMinMaxInfo* info) const;

private:
    bool m_useMaxTrack = false;
    bool m_useMinTrack = false;
    bool m_useMaxPlacement = false;
    SLayoutSize m_minTrack;
    SLayoutSize m_maxTrack;
    SLayoutPoint m_maxPosition;
    SLayoutSize m_maxSize;
};

// The window size that a drag of the size grip from startMouse to mouse asks for, starting at
// startSize, held within the limits (-1 meaning none) and never below 1 x 1.
SLayoutSize GripDragSize(SLayoutSize startSize, SLayoutPoint startMouse, SLayoutPoint mouse,
                         const SMinMaxInfo& limits);
