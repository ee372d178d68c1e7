// Scrolling a window whose content is larger than its client area, one direction at a time:
// extent is the content's length, view the client's. Scroll requests reach positions 0 to
// extent - view + 1, as far as a scroll bar of that range and page goes; a change of the view's
// size keeps positions within 0 to extent - view.
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

// The largest position a scroll request reaches, 0 when the content fits.
int ScrollLimit(int extent, int view);

// The position kept when the view changes size: the old one, pulled back so that the content
// still fills the view where it can.
int ScrollPositionForView(int position, int extent, int view);

// The position a scroll request leads to. A page step is the whole range, so it goes to the
// start or the end.
int ScrollPositionForCode(EScrollCode code, int position, int thumb, int extent, int view);
