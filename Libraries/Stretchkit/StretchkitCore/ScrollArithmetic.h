// Scrolling a window whose content is larger than its client area, one direction at a time:
// extent is the content's length, view the client's, positions run from 0 to extent - view.
#pragma once

enum class EScrollCode {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    Thumb,  // to the position the scroll bar carries
    Top,
    Bottom,
    Other,  // end of a scroll: no change
};

// Pixels of one line step.
inline constexpr int kScrollLine = 5;

// The largest position, 0 when the content fits.
int ScrollLimit(int extent, int view);

// The position kept when the view changes size: the old one, pulled back so that the content
// still fills the view where it can.
int ScrollPositionForView(int position, int extent, int view);

// The position a scroll request leads to. A page step is one view.
int ScrollPositionForCode(EScrollCode code, int position, int thumb, int extent, int view);
