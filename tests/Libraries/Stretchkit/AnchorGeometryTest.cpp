#include "StretchkitCore/AnchorGeometry.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const SLayoutRect& expected, const SLayoutRect& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

TEST(AnchorGeometry, ChildFollowsItsAnchorPointsWhenTheAreaChanges)
{
    struct Case {
        const char* what;
        SLayoutRect child;
        SAnchorPoint topLeft;
        SAnchorPoint bottomRight;
        SLayoutRect expected;  // after the area grows from 200 x 300 to 301 x 401
    };
    const SLayoutRect before{0, 0, 200, 300};
    const SLayoutRect after{0, 0, 301, 401};
    const Case cases[] = {
        {"top-left only stays", {10, 20, 60, 40}, kAnchorTopLeft, kNoAnchor, {10, 20, 60, 40}},
        {"stretched keeps all four margins", {10, 20, 190, 280}, kAnchorTopLeft, kAnchorBottomRight, {10, 20, 291, 381}},
        {"bottom-right only keeps its size", {150, 250, 190, 290}, kAnchorBottomRight, kNoAnchor, {251, 351, 291, 391}},
        // Half of 301 is 150 (truncated), half of 200 is 100: the child moves by 50.
        {"top-centre moves by half", {90, 10, 110, 30}, kAnchorTopCenter, kAnchorTopCenter, {140, 10, 160, 30}},
        {"stretched across the width only", {10, 10, 190, 30}, kAnchorTopLeft, kAnchorTopRight, {10, 10, 291, 30}},
        {"centre to bottom-right", {100, 150, 190, 290}, kAnchorMiddleCenter, kAnchorBottomRight, {150, 200, 291, 391}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SAnchorGeometry anchor = AnchorChild(before, c.child, c.topLeft, c.bottomRight);
        ExpectRect(c.child, PlaceAnchoredChild(before, anchor));
        ExpectRect(c.expected, PlaceAnchoredChild(after, anchor));
    }
}

TEST(AnchorGeometry, MarginsAreMeasuredFromTheAreaOrigin)
{
    // A scrolled area starts left of and above the client origin; scrolling back moves the
    // child by the same amount.
    const SLayoutRect scrolled{-30, -40, 370, 460};
    const SAnchorGeometry anchor = AnchorChild(scrolled, {10, 20, 110, 70}, kAnchorTopLeft, kAnchorBottomRight);
    EXPECT_EQ(40, anchor.topLeftMargin.x);
    EXPECT_EQ(60, anchor.topLeftMargin.y);
    ExpectRect({40, 60, 140, 110}, PlaceAnchoredChild({0, 0, 400, 500}, anchor));
}

TEST(AnchorGeometry, ShrinkingPastTheMarginsGivesAnEmptyRectangle)
{
    const SAnchorGeometry anchor = AnchorChild({0, 0, 200, 100}, {50, 20, 150, 80}, kAnchorTopLeft, kAnchorBottomRight);
    const SLayoutRect rect = PlaceAnchoredChild({0, 0, 60, 30}, anchor);
    EXPECT_EQ(50, rect.left);
    EXPECT_EQ(0, rect.Width());
    EXPECT_EQ(0, rect.Height());
}

TEST(AnchorGeometry, PlanMovesOnlyChildrenThatAreOutOfPlace)
{
    const SLayoutRect before{0, 0, 200, 200};
    const SLayoutRect after{0, 0, 300, 250};
    const SLayoutRect fixedRect{5, 5, 50, 25};
    const SLayoutRect movingRect{150, 10, 190, 30};
    const SLayoutRect stretchedRect{5, 40, 195, 190};
    std::vector<SAnchoredChild> children = {
        {AnchorChild(before, fixedRect, kAnchorTopLeft, kNoAnchor), fixedRect},
        {AnchorChild(before, movingRect, kAnchorTopRight, kNoAnchor), movingRect},
        {AnchorChild(before, stretchedRect, kAnchorTopLeft, kAnchorBottomRight), stretchedRect},
    };
    EXPECT_TRUE(PlanChildMoves(before, children).empty());

    const std::vector<SChildMove> moves = PlanChildMoves(after, children);
    ASSERT_EQ(2u, moves.size());
    EXPECT_EQ(1u, moves[0].index);
    EXPECT_TRUE(moves[0].moves);
    EXPECT_FALSE(moves[0].resizes);
    ExpectRect({250, 10, 290, 30}, moves[0].rect);
    EXPECT_EQ(2u, moves[1].index);
    EXPECT_FALSE(moves[1].moves);
    EXPECT_TRUE(moves[1].resizes);
    ExpectRect({5, 40, 295, 240}, moves[1].rect);
}

}  // namespace
