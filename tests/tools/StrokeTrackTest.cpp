// The stroke's sample history, its smoothing and the rectangles handed to the paper.
#include "tools/StrokeTrack.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TEST(StrokeTrack, HistoryAndSmoothing)
{
    StrokeTrack track;
    track.Start(10, 20);
    for (const StrokeSample &s : track.history) {
        EXPECT_EQ(10, s.x);
        EXPECT_EQ(0, s.pressure);
    }
    EXPECT_TRUE(track.StrokeEmpty());
    track.AddSample(30, 20, 1.0f, false);
    EXPECT_EQ(30, track.history[0].x);
    EXPECT_EQ(20, track.history[1].x) << "entry 1 is the average of its neighbours";
    EXPECT_EQ(0.5f, track.history[1].pressure);
    track.AddSample(30, 40, 1.0f, true);
    EXPECT_EQ(30, track.history[1].x) << "without smoothing the samples stay as they came";
    EXPECT_EQ(20, track.history[2].x);
    EXPECT_EQ(10, track.history[7].x);
}

TEST(StrokeTrack, RectanglesAreEven)
{
    const struct {
        FloatRect rect;
        SExtent extent;
    } cases[] = {
        {{1.2f, 7.5f, 2.9f, 3.0f}, {0, 2, 8, 2}},
        {{-3.5f, -0.5f, -1.0f, 4.2f}, {-4, -2, 4, 8}},
        {{4.0f, 4.0f, 4.0f, 4.0f}, {4, 4, 0, 0}},
    };
    for (const auto &c : cases) {
        const SExtent e = EvenExtent(c.rect);
        EXPECT_EQ(c.extent.x, e.x);
        EXPECT_EQ(c.extent.y, e.y);
        EXPECT_EQ(c.extent.width, e.width);
        EXPECT_EQ(c.extent.height, e.height);
    }
    StrokeTrack track;
    track.Start(10, 10);
    track.AddSample(20, 10, 1, true);
    track.MarkSegment(3); // r = 5 around entries 1 and 2, both still at the start
    EXPECT_EQ(5, track.segment.left);
    EXPECT_EQ(15, track.segment.right);
    track.AddSample(30, 10, 1, true);
    track.MarkSegment(3);
    EXPECT_EQ(5, track.segment.left) << "the segment runs from entry 2 to entry 1";
    EXPECT_EQ(25, track.segment.right);
    EXPECT_EQ(5, track.stroke.left);
    EXPECT_EQ(25, track.stroke.right);
}

} // namespace
} // namespace pv
