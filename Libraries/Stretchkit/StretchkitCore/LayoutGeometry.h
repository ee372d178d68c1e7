// Plain points, sizes and rectangles in pixels for the layout arithmetic, which stays free of
// any window system.
#pragma once

struct SLayoutPoint {
    int x = 0;
    int y = 0;
};

struct SLayoutSize {
    int cx = 0;
    int cy = 0;
};

// Right and bottom are exclusive: width = right - left.
struct SLayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

inline bool operator==(const SLayoutPoint& a, const SLayoutPoint& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const SLayoutPoint& a, const SLayoutPoint& b) { return !(a == b); }
inline bool operator==(const SLayoutSize& a, const SLayoutSize& b) { return a.cx == b.cx && a.cy == b.cy; }
inline bool operator!=(const SLayoutSize& a, const SLayoutSize& b) { return !(a == b); }
inline bool operator==(const SLayoutRect& a, const SLayoutRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const SLayoutRect& a, const SLayoutRect& b) { return !(a == b); }
