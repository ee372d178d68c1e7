// Between the layout arithmetic's plain geometry and wxWidgets' points, sizes and rectangles.
#pragma once

#include "StretchkitCore/LayoutGeometry.h"

#include <wx/gdicmn.h>

inline SLayoutRect ToLayoutRect(const wxRect& rect)
{
    return {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
}

inline wxRect ToWxRect(const SLayoutRect& rect)
{
    return wxRect(rect.left, rect.top, rect.Width(), rect.Height());
}

inline SLayoutSize ToLayoutSize(const wxSize& size)
{
    return {size.x, size.y};
}

inline wxSize ToWxSize(SLayoutSize size)
{
    return wxSize(size.cx, size.cy);
}

inline SLayoutPoint ToLayoutPoint(const wxPoint& point)
{
    return {point.x, point.y};
}
