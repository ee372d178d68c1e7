// When a combo box and its drop-down list show the whole of a clipped text in a tip, where the
// tip goes and how long it stays. Kept apart from the windows so that the pixel rules can be
// checked without a display.
#pragma once

struct STipArea {
    int x;
    int y;
    int width;
    int height;

    bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// How often a shown tip checks whether the pointer is still over its text, in milliseconds.
constexpr int kTextTipCheckMs = 80;

// The combo box's text area: its client area less the drop button on the right.
STipArea ComboTextArea(int clientWidth, int clientHeight, int buttonWidth);

// A combo box text needs a tip when it is wider than the text area less 6 pixels.
bool ComboTextNeedsTip(int textWidth, int textAreaWidth);

// An item of the list needs a tip when its text is wider than the item less 3 pixels.
bool ListItemNeedsTip(int textWidth, int itemWidth);

// Where the combo box and its list draw a text in the rectangle of the face or of an item: a
// little in from the left, centred vertically. The tip puts its own text right there, so that it
// covers the clipped text exactly.
void ClippedTextOrigin(const STipArea& rect, int textHeight, int& x, int& y);

// At each check: the combo box's tip stays while the pointer is over the text area; the list's
// while the pointer is over the list and the list is shown.
bool ComboTipStays(const STipArea& textArea, int pointerX, int pointerY);
bool ListTipStays(const STipArea& listClientArea, int pointerX, int pointerY, bool listShown);
