#include "StretchkitCore/ScrollArithmetic.h"

#include <algorithm>

int ScrollLimit(int extent, int view)
{
    return extent > view ? extent - view + 1 : 0;
}

int ScrollPositionForView(int position, int extent, int view)
{
    return std::max(0, std::min(position, extent - view));
}

int ScrollPositionForCode(EScrollCode code, int position, int thumb, int extent, int view)
{
    const int limit = ScrollLimit(extent, view);
    int target = position;
    switch (code) {
    case EScrollCode::LineUp: target = position - kScrollLine; break;
    case EScrollCode::LineDown: target = position + kScrollLine; break;
    case EScrollCode::PageUp: target = position - limit; break;
    case EScrollCode::PageDown: target = position + limit; break;
    case EScrollCode::Thumb: target = thumb; break;
    case EScrollCode::Top: target = 0; break;
    case EScrollCode::Bottom: target = limit; break;
    case EScrollCode::Other: return position;
    }
    return std::max(0, std::min(target, limit));
}
