#include "StretchkitCore/AnchorGeometry.h"

#include <algorithm>

namespace {

// Integer division truncating toward zero, in 64 bits so that no percentage overflows.
int PercentOf(int length, int percent)
{
    return static_cast<int>(static_cast<long long>(length) * percent / 100);
}

SLayoutPoint AnchorPoint(const SLayoutRect& area, SAnchorPoint anchor)
{
    return {PercentOf(area.Width(), anchor.x), PercentOf(area.Height(), anchor.y)};
}

}  // namespace

SAnchorGeometry AnchorChild(const SLayoutRect& area, const SLayoutRect& child, SAnchorPoint topLeft,
                            SAnchorPoint bottomRight)
{
    if (bottomRight == kNoAnchor)
        bottomRight = topLeft;
    const SLayoutPoint from = AnchorPoint(area, topLeft);
    const SLayoutPoint to = AnchorPoint(area, bottomRight);
    SAnchorGeometry anchor;
    anchor.topLeft = topLeft;
    anchor.topLeftMargin = {child.left - area.left - from.x, child.top - area.top - from.y};
    anchor.bottomRight = bottomRight;
    anchor.bottomRightMargin = {child.right - area.left - to.x, child.bottom - area.top - to.y};
    return anchor;
}

SLayoutRect PlaceAnchoredChild(const SLayoutRect& area, const SAnchorGeometry& anchor)
{
    const SLayoutPoint from = AnchorPoint(area, anchor.topLeft);
    const SLayoutPoint to = AnchorPoint(area, anchor.bottomRight);
    SLayoutRect rect;
    rect.left = area.left + from.x + anchor.topLeftMargin.x;
    rect.top = area.top + from.y + anchor.topLeftMargin.y;
    rect.right = std::max(rect.left, area.left + to.x + anchor.bottomRightMargin.x);
    rect.bottom = std::max(rect.top, area.top + to.y + anchor.bottomRightMargin.y);
    return rect;
}

std::vector<SChildMove> PlanChildMoves(const SLayoutRect& area, const std::vector<SAnchoredChild>& children)
{
    std::vector<SChildMove> moves;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const SLayoutRect& old = children[i].current;
        const SLayoutRect rect = PlaceAnchoredChild(area, children[i].anchor);
        const bool move = rect.left != old.left || rect.top != old.top;
        const bool resize = rect.Width() != old.Width() || rect.Height() != old.Height();
        if (move || resize)
            moves.push_back({i, rect, move, resize});
    }
    return moves;
}
