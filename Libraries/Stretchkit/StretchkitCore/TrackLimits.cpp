#include "StretchkitCore/TrackLimits.h"

#include <algorithm>

void CTrackLimits::LimitMinTrack(SLayoutSize size)
{
    m_minTrack = size;
    m_useMinTrack = true;
}

void CTrackLimits::UnlimitMinTrack()
{
    m_minTrack = {};
    m_useMinTrack = false;
}

void CTrackLimits::LimitMaxTrack(SLayoutSize size)
{
    m_maxTrack = size;
    m_useMaxTrack = true;
}

void CTrackLimits::UnlimitMaxTrack()
{
    m_maxTrack = {};
    m_useMaxTrack = false;
}

void CTrackLimits::SetMaximizedPlacement(const SLayoutRect& rect)
{
    m_maxPosition = {rect.left, rect.top};
    m_maxSize = {rect.Width(), rect.Height()};
    m_useMaxPlacement = true;
}

void CTrackLimits::ClearMaximizedPlacement()
{
    m_maxPosition = {};
    m_maxSize = {};
    m_useMaxPlacement = false;
}

void CTrackLimits::FillMinMaxInfo(SMinMaxInfo* info) const
{
    if (m_useMinTrack)
        info->minTrackSize = m_minTrack;
    if (m_useMaxTrack)
        info->maxTrackSize = m_maxTrack;
    if (m_useMaxPlacement) {
        info->maxPosition = m_maxPosition;
        info->maxSize = m_maxSize;
    }
}

namespace {

int Limit(int value, int minimum, int maximum)
{
    if (maximum >= 0)
        value = std::min(value, maximum);
    if (minimum >= 0)
        value = std::max(value, minimum);
    return std::max(value, 1);
}

}  // namespace

SLayoutSize GripDragSize(SLayoutSize startSize, SLayoutPoint startMouse, SLayoutPoint mouse,
                         const SMinMaxInfo& limits)
{
    return {Limit(startSize.cx + mouse.x - startMouse.x, limits.minTrackSize.cx, limits.maxTrackSize.cx),
            Limit(startSize.cy + mouse.y - startMouse.y, limits.minTrackSize.cy, limits.maxTrackSize.cy)};
}
