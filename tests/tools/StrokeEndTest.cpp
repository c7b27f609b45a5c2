// Strokes through the paper with the real engines: a stroke of one sample, blur2 at the
// layer's edges, the legacy engine and its straight lines.
#include "DabFixture.h"

namespace pv::test {
namespace {

// Begun and ended without a further sample: nothing drawn, an empty rectangle, and the undo
// list and the recorder's steps still one to one.
TEST(StrokeEnd, SingleSampleStrokeKeepsHistoryInStep)
{
    DabFixture f;
    f.UsePen(kPenAirbrush);
    const int32_t steps = f.paper->Events().StepCount();
    ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 10, 10, 1, true));
    SExtent rect{1, 1, 1, 1};
    ASSERT_TRUE(f.paper->EndStroke(f.image, f.pen, f.track, rect, true));
    EXPECT_EQ(0, rect.width);
    EXPECT_EQ(0, rect.height);
    EXPECT_EQ(steps + 1, f.paper->Events().StepCount());
    ASSERT_EQ(1, f.paper->UndoManager()->UndoCount());
    int32_t layer = 0;
    SEdgeRect changed;
    EXPECT_TRUE(f.paper->Undo(f.image, layer, changed));
    EXPECT_EQ(0, f.paper->UndoManager()->UndoCount());
}

// Coverage at the last column and row still blurs: the neighbourhood is read clamped.
TEST(StrokeEnd, Blur2BlursAtEveryEdgeOfTheLayer)
{
    DabFixture f(32, 32);
    f.paper->SetDabEngine(DabEngine::Legacy, LegacyEngine);
    f.Fill(0xFFFFFFFF);
    for (int32_t y = 0; y < 32; ++y) {
        f.paper->ActiveLayer()->Image()->WritePixel(30, y, 0xFF000000);
        f.paper->ActiveLayer()->Image()->WritePixel(y, 30, 0xFF000000);
    }
    f.UsePen(kPenBlur2);
    f.pen.SetMaxRadius(4);
    ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 31, 31, 1, false));
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 31, 31, 1, false);
    f.track.history[2] = {31, 31, 1};
    f.track.history[1] = {31, 30, 1};
    LegacyEngine(*f.paper, f.image, f.pen, f.track);
    EXPECT_GE(f.image.coverage.At(31, 31), 2);
    EXPECT_NE(0xFFFFFFFFu, f.image.colour.At(31, 31)) << "the corner blurs with its black neighbours";
    EXPECT_EQ(0xFFu, f.image.colour.At(31, 31) >> 24);
}

TEST(StrokeEnd, LegacyStraightLineDrawsAndCommits)
{
    DabFixture f(64, 32);
    f.paper->SetDabEngine(DabEngine::Legacy, LegacyEngine);
    f.Fill(0xFFFFFFFF);
    f.UsePen(kPenPencil);
    f.pen.SetMaxRadius(2);
    f.pen.SetColor(0x000000);
    SExtent rect;
    ASSERT_TRUE(LegacyStraightLine(*f.paper, f.image, f.pen, f.track, 5, 10, 50, 10, rect));
    EXPECT_GT(rect.width, 45);
    const CBlockVMTC &layer = *f.paper->ActiveLayer()->Image();
    for (int32_t x : {6, 20, 49})
        EXPECT_EQ(0xFF000000u, layer.Pixel(x, 10)) << x;
    EXPECT_EQ(0xFFFFFFFFu, layer.Pixel(30, 20));
    EXPECT_EQ(0, f.image.coverage.At(20, 10)) << "the coverage is cleared at the end";
}

TEST(StrokeEnd, LegacyEngineDrawsEachKind)
{
    for (int kind : {kPenWatercolour, kPenBlur, kPenEraser}) {
        DabFixture f(64, 32);
        f.paper->SetDabEngine(DabEngine::Legacy, LegacyEngine);
        f.Fill(0xFFFFFFFF);
        for (int32_t x = 0; x < 64; x += 2)
            f.paper->ActiveLayer()->Image()->WritePixel(x, 10, 0xFF000000);
        f.UsePen(kind);
        f.pen.SetMaxRadius(4);
        f.pen.SetColor(0x0000FF);
        f.pen.SetEffect(50);
        SExtent rect;
        ASSERT_TRUE(LegacyStraightLine(*f.paper, f.image, f.pen, f.track, 10, 10, 40, 10, rect));
        const CBlockVMTC &layer = *f.paper->ActiveLayer()->Image();
        EXPECT_NE(0xFF000000u, layer.Pixel(20, 10)) << "kind " << kind;
        EXPECT_EQ(0xFFFFFFFFu, layer.Pixel(20, 25)) << "kind " << kind;
    }
}

} // namespace
} // namespace pv::test
