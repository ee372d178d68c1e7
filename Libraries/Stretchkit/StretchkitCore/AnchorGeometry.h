// Where an anchored child goes when its parent changes size. Each corner of the child keeps
// the distance it had, at anchoring time, from a point that lies at a percentage of the
// parent's layout rectangle.
#pragma once

#include "StretchkitCore/LayoutGeometry.h"

#include <cstddef>
#include <vector>

// Percentages of the layout rectangle's width and height.
struct SAnchorPoint {
    int x = 0;
    int y = 0;
};

inline bool operator==(const SAnchorPoint& a, const SAnchorPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const SAnchorPoint& a, const SAnchorPoint& b) { return !(a == b); }

inline constexpr SAnchorPoint kAnchorTopLeft{0, 0};
inline constexpr SAnchorPoint kAnchorTopCenter{50, 0};
inline constexpr SAnchorPoint kAnchorTopRight{100, 0};
inline constexpr SAnchorPoint kAnchorMiddleLeft{0, 50};
inline constexpr SAnchorPoint kAnchorMiddleCenter{50, 50};
inline constexpr SAnchorPoint kAnchorMiddleRight{100, 50};
inline constexpr SAnchorPoint kAnchorBottomLeft{0, 100};
inline constexpr SAnchorPoint kAnchorBottomCenter{50, 100};
inline constexpr SAnchorPoint kAnchorBottomRight{100, 100};
// Only as the bottom-right anchor: the child keeps its size and moves with its top-left anchor.
inline constexpr SAnchorPoint kNoAnchor{-1, -1};

struct SAnchorGeometry {
    SAnchorPoint topLeft;
    SLayoutPoint topLeftMargin;  // distance of the child's top-left corner from its anchor point
    SAnchorPoint bottomRight;
    SLayoutPoint bottomRightMargin;
};

// Anchors a child whose rectangle is given in the parent's client coordinates, as it stands
// in the area (the layout rectangle in the same coordinates).
SAnchorGeometry AnchorChild(const SLayoutRect& area, const SLayoutRect& child, SAnchorPoint topLeft,
                            SAnchorPoint bottomRight);

// The child's rectangle for the area, in the parent's client coordinates. A corner pushed past
// the other one gives an empty width or height, never a negative one.
SLayoutRect PlaceAnchoredChild(const SLayoutRect& area, const SAnchorGeometry& anchor);

struct SAnchoredChild {
    SAnchorGeometry anchor;
    SLayoutRect current;  // where the child is now
};

struct SChildMove {
    std::size_t index;  // into the list of children given
    SLayoutRect rect;
    bool moves;    // top-left changes
    bool resizes;  // size changes
};

// The moves that bring every child to its place for the area, in list order; a child already
// in place has none.
std::vector<SChildMove> PlanChildMoves(const SLayoutRect& area, const std::vector<SAnchoredChild>& children);
