#include "StretchkitCore/GripVisibility.h"
#include "StretchkitCore/TrackLimits.h"

#include <gtest/gtest.h>

namespace {

TEST(GripVisibility, RepeatedRequestsWithOneStatusWordCountOnce)
{
    CGripVisibility grip;
    std::uint32_t status = 0;
    grip.ShowRequest(&status, 1);
    grip.ShowRequest(&status, 1);
    EXPECT_TRUE(grip.IsShown());
    EXPECT_EQ(1u, status);
    grip.HideRequest(&status, 1);
    EXPECT_FALSE(grip.IsShown());
    EXPECT_EQ(0u, status);
    // Mask bits already clear: nothing changes, the counter does not go below the others.
    grip.HideRequest(&status, 1);
    grip.ShowRequest(&status, 1);
    EXPECT_TRUE(grip.IsShown());
}

TEST(GripVisibility, EveryRequesterMustHideBeforeTheGripGoes)
{
    CGripVisibility grip;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    grip.ShowRequest(&first, 1);
    grip.ShowRequest(&second, 1);
    grip.HideRequest(&first, 1);
    EXPECT_TRUE(grip.IsShown());
    grip.HideRequest(&second, 1);
    EXPECT_FALSE(grip.IsShown());

    grip.SetShown(true);
    EXPECT_TRUE(grip.IsShown());
    grip.SetShown(false);
    EXPECT_FALSE(grip.IsShown());
}

TEST(TrackLimits, FillsOnlyTheLimitsThatAreSet)
{
    CTrackLimits limits;
    SMinMaxInfo info;
    info.minTrackSize = {7, 8};
    limits.FillMinMaxInfo(&info);
    EXPECT_EQ(SLayoutSize({7, 8}), info.minTrackSize);
    EXPECT_EQ(SLayoutSize({-1, -1}), info.maxTrackSize);

    limits.LimitMinTrack({300, 200});
    limits.LimitMaxTrack({800, 600});
    limits.FillMinMaxInfo(&info);
    EXPECT_EQ(SLayoutSize({300, 200}), info.minTrackSize);
    EXPECT_EQ(SLayoutSize({800, 600}), info.maxTrackSize);

    limits.UnlimitMinTrack();
    limits.UnlimitMaxTrack();
    SMinMaxInfo fresh;
    limits.FillMinMaxInfo(&fresh);
    EXPECT_EQ(SLayoutSize({-1, -1}), fresh.minTrackSize);
    EXPECT_EQ(SLayoutSize({-1, -1}), fresh.maxTrackSize);
}

TEST(TrackLimits, MaximizedPlacementKeepsTheTrackLimits)
{
    CTrackLimits limits;
    limits.LimitMinTrack({300, 200});
    limits.LimitMaxTrack({800, 600});
    limits.SetMaximizedPlacement({10, 20, 710, 520});
    SMinMaxInfo info;
    limits.FillMinMaxInfo(&info);
    EXPECT_EQ(SLayoutSize({300, 200}), info.minTrackSize);
    EXPECT_EQ(SLayoutSize({800, 600}), info.maxTrackSize);
    EXPECT_EQ(SLayoutPoint({10, 20}), info.maxPosition);
    EXPECT_EQ(SLayoutSize({700, 500}), info.maxSize);

    // Cleared, the placement leaves what the structure holds and the limits stay.
    limits.ClearMaximizedPlacement();
    SMinMaxInfo fresh;
    fresh.maxPosition = {-4, -4};
    limits.FillMinMaxInfo(&fresh);
    EXPECT_EQ(SLayoutPoint({-4, -4}), fresh.maxPosition);
    EXPECT_EQ(SLayoutSize({-1, -1}), fresh.maxSize);
    EXPECT_EQ(SLayoutSize({300, 200}), fresh.minTrackSize);
    EXPECT_EQ(SLayoutSize({800, 600}), fresh.maxTrackSize);
}

TEST(TrackLimits, GripDragFollowsTheMouseWithinTheLimits)
{
    struct Case {
        SLayoutPoint mouse;
        SLayoutSize expected;
    };
    SMinMaxInfo limits;
    limits.minTrackSize = {300, 200};
    limits.maxTrackSize = {900, -1};
    const SLayoutSize start{500, 400};
    const SLayoutPoint from{1000, 800};
    const Case cases[] = {
        {{1000, 800}, {500, 400}},
        {{1050, 830}, {550, 430}},
        {{500, 500}, {300, 200}},      // held at the minimum
        {{2000, 2000}, {900, 1600}},   // held at the maximum width, no maximum height
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, GripDragSize(start, from, c.mouse, limits));

    EXPECT_EQ(SLayoutSize({1, 1}), GripDragSize(start, from, {0, 0}, SMinMaxInfo()));
}

}  // namespace
