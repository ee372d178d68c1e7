// Small value types and constants shared by the grid's cells, its core and its window.
#pragma once

#include <cstdint>

using GridColour = std::uint32_t;

// A colour, format or margin of this value means: the value of the cell's default cell.
constexpr GridColour kGridDefaultColour = 0xFF000000u;
constexpr std::uint32_t kGridDefaultFormat = 0xFFFFFFFFu;
constexpr std::uint32_t kGridDefaultMargin = 0xFFFFFFFFu;

constexpr GridColour GridRgb(int r, int g, int b)
{
    return static_cast<GridColour>(r) | (static_cast<GridColour>(g) << 8) | (static_cast<GridColour>(b) << 16);
}

// Pointer shapes a cell or the grid may choose.
enum GridCursor : int {
    GridCursorArrow,
    GridCursorIBeam,
    GridCursorHand,
    GridCursorSizeWE,
    GridCursorSizeNS,
};

// Cell state bits.
enum : std::uint32_t {
    CELLSTATE_FOCUSED = 0x01,
    CELLSTATE_SELECTED = 0x02,
    CELLSTATE_DROPHILITED = 0x04,
    CELLSTATE_READONLY = 0x08,
    CELLSTATE_FIXED = 0x10,
    CELLSTATE_FIXEDROW = 0x20,
    CELLSTATE_FIXEDCOL = 0x40,
    CELLSTATE_MODIFIED = 0x80,
};

// Text format bits, as the drawing code of the window understands them.
enum : std::uint32_t {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

// Notification codes sent to the grid's owner.
enum GridNotification : int {
    GridNotifyClick = -2,
    GridNotifyDblClick = -3,
    GridNotifyRClick = -5,
    GridNotifySelChanging = -100,
    GridNotifySelChanged = -101,
    GridNotifyBeginEdit = -105,
    GridNotifyEndEdit = -106,
    GridNotifyCacheHint = -113,
    GridNotifyGetDispInfo = -150,
};

// Fields of a GridItemInfo that a get or set means.
enum : std::uint32_t {
    GVIF_TEXT = 0x001,
    GVIF_IMAGE = 0x002,
    GVIF_PARAM = 0x004,
    GVIF_STATE = 0x008,
    GVIF_BKCLR = 0x010,
    GVIF_FGCLR = 0x020,
    GVIF_FORMAT = 0x040,
    GVIF_FONT = 0x080,
    GVIF_MARGIN = 0x100,
    GVIF_ALL = 0x1FF,
};

// Search flags of FindNextCell.
enum : int {
    GVNI_FOCUSED = 0x001,
    GVNI_SELECTED = 0x002,
    GVNI_DROPHILITED = 0x004,
    GVNI_READONLY = 0x008,
    GVNI_FIXED = 0x010,
    GVNI_MODIFIED = 0x020,
    GVNI_ABOVE = 0x100,
    GVNI_BELOW = 0x200,
    GVNI_TOLEFT = 0x400,
    GVNI_TORIGHT = 0x800,
    GVNI_ALL = 0xE00,
};

// Grid lines drawn.
enum : int { GVL_NONE = 0, GVL_HORZ = 1, GVL_VERT = 2, GVL_BOTH = 3 };

// Rows measured by automatic sizing.
enum : int { GVS_DEFAULT = 0, GVS_HEADER = 1, GVS_DATA = 2, GVS_BOTH = 3 };

// Keys the grid handles, by their virtual-key values.
enum GridKey : int {
    GridKeyLButton = 0x01,
    GridKeyTab = 0x09,
    GridKeyReturn = 0x0D,
    GridKeyEscape = 0x1B,
    GridKeySpace = 0x20,
    GridKeyPageUp = 0x21,
    GridKeyPageDown = 0x22,
    GridKeyEnd = 0x23,
    GridKeyHome = 0x24,
    GridKeyLeft = 0x25,
    GridKeyUp = 0x26,
    GridKeyRight = 0x27,
    GridKeyDown = 0x28,
    GridKeyInsert = 0x2D,
    GridKeyDelete = 0x2E,
    GridKeyF2 = 0x71,
};

// Scroll requests of a scroll bar.
enum : int {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
};

// Scroll bars.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_BOTH = 3 };

// The system colours the grid follows: its default cells take them unless the application gave
// them colours of their own.
struct CGridSystemColours {
    GridColour windowText = GridRgb(0, 0, 0);
    GridColour window = GridRgb(255, 255, 255);
    GridColour face3D = GridRgb(240, 240, 240);
    GridColour shadow = GridRgb(160, 160, 160);
};

struct CGridSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const CGridSize& o) const { return cx == o.cx && cy == o.cy; }
};

struct CGridPoint {
    int x = 0;
    int y = 0;
};

// Edges as the drawing code uses them; GetCellRect gives right and bottom inclusive.
struct CGridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CGridRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
