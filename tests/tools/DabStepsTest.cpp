// The current engine's stepping: how many dabs a straight segment gets for each kind's
// interval and radius thresholds, and where they land.
#include "DabFixture.h"

#include <set>

namespace pv::test {
namespace {

struct StepCase {
    int kind;
    float radius;
    bool sizeByPressure;
    float spacing; // used by the kinds without a fixed interval; 0 keeps the default
    int32_t dabs;  // over a 20-pixel segment along x
};

class SegmentDabs : public ::testing::TestWithParam<StepCase> {};

TEST_P(SegmentDabs, CountMatchesTheInterval)
{
    const StepCase c = GetParam();
    DabFixture f(64, 48);
    f.UsePen(c.kind);
    f.pen.SetMaxRadius(c.radius);
    f.pen.SetSizeByPressure(c.sizeByPressure);
    if (c.spacing > 0)
        f.pen.SetSpacing(c.spacing);
    f.pen.SetNoSmoothing(true);
    ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 5, 20, 1, false));
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 25, 20, 1, false); // draws the start point's empty segment
    EXPECT_EQ(0, f.track.dabs);
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 45, 20, 1, false); // draws 5 → 25
    EXPECT_EQ(c.dabs, f.track.dabs);
    EXPECT_FLOAT_EQ(25.5f, f.paper->engineFloat[0]) << "the steps end on the segment's end";
    EXPECT_EQ(1, f.paper->engineInt[0]) << "an x-major segment";
    SExtent rect;
    EXPECT_TRUE(f.paper->EndStroke(f.image, f.pen, f.track, rect, false));
}

INSTANTIATE_TEST_SUITE_P(Kinds, SegmentDabs,
                         ::testing::Values(
                             // every step and half steps below radius 2
                             StepCase{kPenPencil, 1, true, 0, 40},
                             // 1/6 of radius 10: every second step
                             StepCase{kPenPencil, 10, false, 0, 10},
                             StepCase{kPenWatercolour, 16, true, 0, 10},
                             StepCase{kPenBlur, 12, false, 0, 7},
                             StepCase{kPenEraser, 12, false, 0, 7},
                             // below 4 every step, below 3 half steps
                             StepCase{kPenEraser, 2, false, 0, 40},
                             StepCase{kPenBlur2, 12, false, 0, 0},
                             // ceiling(0.15 x 30) = 5
                             StepCase{kPenAirbrush, 30, true, 0.15f, 4},
                             StepCase{kPenFingerTip, 15, false, 0, 20},
                             StepCase{kPenDarken, 25, true, 0, 5}));

TEST(SegmentDabs, RepeatedSampleDrawsNothing)
{
    DabFixture f;
    f.UsePen(kPenAirbrush);
    ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 10, 10, 1, false));
    for (int i = 0; i < 3; ++i)
        f.paper->AddStrokePoint(f.image, f.pen, f.track, 10, 10, 1, false);
    EXPECT_EQ(0, f.track.dabs);
    EXPECT_EQ(0, f.track.steps);
}

TEST(SegmentDabs, AirbrushDabsLandEveryIntervalAlongTheSegment)
{
    DabFixture f(64, 48);
    f.Fill(0xFFFFFFFF);
    f.UseSteadyPen(kPenAirbrush, 2);
    f.pen.SetSpacing(2); // ceiling(2 x 2) = 4 steps between dabs
    ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 5, 20, 1, false));
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 25, 20, 1, false);
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 45, 20, 1, false);
    // Centres at x = 5.5, 9.5, ..., 21.5: pixels whose centres lie within 2 of one.
    std::set<int32_t> painted;
    for (int32_t x = 0; x < 64; ++x)
        if (f.image.colour.At(x, 20) != 0xFFFFFFFF)
            painted.insert(x);
    EXPECT_EQ((std::set<int32_t>{4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18, 20, 21, 22}), painted);
    // Four units a pixel times the pressure, which rises from the start sample's 0 to 1.
    EXPECT_FLOAT_EQ(4 * 10.5f, f.track.length);
}

TEST(SegmentDabs, LayerOffsetMovesTheDabs)
{
    DabFixture f;
    f.Fill(0xFFFFFFFF);
    f.UseSteadyPen(kPenAirbrush, 1);
    ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 10, 10, 1, false));
    f.image.offsetX = 3;
    f.image.offsetY = 4;
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 10.5f, 10, 1, false);
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 11, 10, 1, false);
    EXPECT_NE(0xFFFFFFFFu, f.image.colour.At(13, 14));
    EXPECT_EQ(0xFFFFFFFFu, f.image.colour.At(10, 10));
}

} // namespace
} // namespace pv::test
