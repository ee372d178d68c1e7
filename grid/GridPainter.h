// What the grid's drawing needs of a device: filled and framed rectangles, lines, a sunken edge,
// text in a rectangle with the DT_* format, images of the grid's image list and the system's
// colours. The screen and paper implement it over wxDC; tests record the calls.
#pragma once

#include "grid/GridDefs.h"
#include "grid/GridFont.h"

#include <string>

// System colours the cells draw with.
enum class GridSysColour { Highlight, HighlightText, Light3D, DarkShadow3D, Shadow3D };

class IGridPainter {
public:
    virtual ~IGridPainter() = default;

    // The area that needs painting; false when the device cannot tell.
    virtual bool GetClipBox(CGridRect& box) = 0;
    virtual bool IsPrinting() const { return false; }
    // How many colours the device shows (2 for a black-and-white printer, 0 for many).
    virtual int ColourCount() const { return 0; }
    virtual GridColour SysColour(GridSysColour which) const = 0;

    // Right and bottom edges exclusive.
    virtual void FillRect(const CGridRect& rect, GridColour colour) = 0;
    // A one-pixel frame just inside the rectangle (right and bottom exclusive).
    virtual void FrameRect(const CGridRect& rect, GridColour colour) = 0;
    // From (x1, y1) to (x2, y2), the last point not painted.
    virtual void Line(int x1, int y1, int x2, int y2, GridColour colour) = 0;
    // A sunken inner edge around the rectangle (right and bottom exclusive).
    virtual void SunkenEdge(const CGridRect& rect) = 0;
    // The text in the rectangle by the DT_* format; null font: the window's.
    virtual void Text(const std::string& text, const CGridRect& rect, std::uint32_t format, GridColour colour,
                      const CGridFont* font) = 0;
    virtual void Image(int image, int x, int y) = 0;
    // The drop-down button of a combo cell in the rectangle (right and bottom exclusive).
    virtual void DropButton(const CGridRect& rect) = 0;
    // Width of a vertical and height of a horizontal scroll bar: the size of a drop-down button.
    virtual CGridSize ButtonSize() const = 0;
    virtual CGridSize TextExtent(const std::string& text, const CGridFont* font) = 0;
};
