#include "StretchkitCore/PageFrameLayout.h"
#include "StretchkitCore/ScrollArithmetic.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollArithmetic, RequestsStayWithinContentLessView)
{
    struct Case {
        EScrollCode code;
        int position;
        int thumb;
        int expected;
    };
    // 500 pixels of content in a 200-pixel view: requests reach positions 0 to 301, as far as a
    // scroll bar of range 500 and page 200 goes.
    const int extent = 500;
    const int view = 200;
    const Case cases[] = {
        {EScrollCode::LineDown, 0, 0, 5},
        {EScrollCode::LineDown, 298, 0, 301},
        {EScrollCode::LineUp, 3, 0, 0},
        {EScrollCode::LineUp, 100, 0, 95},
        {EScrollCode::PageDown, 0, 0, 301},  // the whole range, not one view: straight to the end
        {EScrollCode::PageDown, 200, 0, 301},
        {EScrollCode::PageUp, 250, 0, 0},
        {EScrollCode::PageUp, 301, 0, 0},
        {EScrollCode::Thumb, 0, 120, 120},
        {EScrollCode::Thumb, 0, 1000, 301},
        {EScrollCode::Thumb, 50, -4, 0},
        {EScrollCode::Top, 170, 0, 0},
        {EScrollCode::Bottom, 0, 0, 301},
        {EScrollCode::Other, 170, 0, 170},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        EXPECT_EQ(c.expected, ScrollPositionForCode(c.code, c.position, c.thumb, extent, view));
    }
    EXPECT_EQ(301, ScrollLimit(extent, view));
    EXPECT_EQ(0, ScrollLimit(100, view));
    EXPECT_EQ(0, ScrollLimit(view, view));
    EXPECT_EQ(0, ScrollPositionForCode(EScrollCode::Bottom, 0, 0, 100, view));
    EXPECT_EQ(0, ScrollPositionForCode(EScrollCode::PageDown, 0, 0, 100, view));
}

TEST(ScrollArithmetic, GrowingViewPullsThePositionBack)
{
    EXPECT_EQ(250, ScrollPositionForView(250, 500, 200));
    EXPECT_EQ(300, ScrollPositionForView(301, 500, 200));  // the end a scroll request reached
    EXPECT_EQ(100, ScrollPositionForView(250, 500, 400));
    EXPECT_EQ(0, ScrollPositionForView(250, 500, 600));
}

TEST(PageFrameLayout, WindowWrapsPageBarAndFrame)
{
    SPageFrameInput in;
    in.page = {600, 400};
    in.topBarHeight = 50;
    in.frameExtra = {10, 60};
    in.screen = {1280, 1024};
    const SPageFrameLayout out = ComputePageFrameLayout(in);
    EXPECT_EQ(0, out.pageRect.left);
    EXPECT_EQ(50, out.pageRect.top);
    EXPECT_EQ(600, out.pageRect.right);
    EXPECT_EQ(450, out.pageRect.bottom);
    EXPECT_EQ(SLayoutSize({610, 510}), out.windowSize);
    EXPECT_EQ(SLayoutSize({600, 450}), out.contentSize);
    EXPECT_EQ(SLayoutSize({305, 255}), out.minTrackSize);
    EXPECT_FALSE(out.maximize);
}

TEST(PageFrameLayout, PageLargerThanTheScreenIsCut)
{
    SPageFrameInput in;
    in.page = {2000, 2000};
    in.topBarHeight = 50;
    in.frameExtra = {10, 60};
    in.screen = {1280, 1024};
    const SPageFrameLayout out = ComputePageFrameLayout(in);
    EXPECT_EQ(1270, out.pageRect.right);
    EXPECT_EQ(964, out.pageRect.bottom);
    EXPECT_EQ(SLayoutSize({1280, 1024}), out.windowSize);
    EXPECT_EQ(SLayoutSize({1270, 964}), out.contentSize);

    in.screen = {40, 30};
    const SPageFrameLayout tiny = ComputePageFrameLayout(in);
    EXPECT_EQ(30, tiny.pageRect.right);
    EXPECT_EQ(50, tiny.pageRect.bottom);  // no negative height
    EXPECT_TRUE(tiny.maximize);
}

TEST(PageFrameLayout, SmallScreensMaximise)
{
    struct Case {
        SLayoutSize screen;
        SLayoutSize window;
        bool maximize;
    };
    const Case cases[] = {
        {{1024, 768}, {800, 600}, true},  // exactly 1024 x 768 counts as small
        {{1025, 769}, {800, 600}, false},
        {{1280, 768}, {800, 600}, true},
        {{1280, 1024}, {1280, 1024}, false},
        {{1280, 1024}, {1281, 600}, true},  // does not fit
        {{800, 600}, {400, 300}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.screen.cx) + "x" + std::to_string(c.screen.cy));
        EXPECT_EQ(c.maximize, ShouldMaximize(c.screen, c.window));
    }
}

}  // namespace
