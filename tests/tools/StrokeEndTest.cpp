// Strokes through the paper with the real engines: a stroke of one sample, blur2 at the
// layer's edges, the legacy engine and its straight lines, and what each sample composes
// and shows.
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

// The pencil composes its coverage only where the segment's dabs drew: after every sample, a
// compose of the whole stroke rectangle changes no pixel, at small and large radii, with the
// size following the pressure and on a layer with content under the stroke.
TEST(StrokeEnd, PencilComposeLeavesNothingBehind)
{
    for (const float radius : {1.5f, 6.0f, 20.0f}) {
        SCOPED_TRACE(radius);
        DabFixture f(96, 96);
        f.Fill(0x80408020);
        f.UsePen(kPenPencil);
        f.pen.SetMaxRadius(radius);
        f.pen.SetColor(0x3050F0);
        ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 10, 10, 0.2f, false));
        for (int i = 1; i < 40; ++i) {
            f.paper->AddStrokePoint(f.image, f.pen, f.track, 10.0f + float(i) * 1.9f, 10.0f + float(i * i % 70),
                                    float(i % 10) / 10.0f, false);
            const std::vector<uint32_t> composed = AllPixels(f.image.colour);
            {
                const ScopedPipeline pipeline = f.Pipeline(); // the stroke's final operation
                ComposeCoverage(*f.paper, f.image, f.pen, {0, 0, 96, 96});
            }
            ASSERT_EQ(composed, AllPixels(f.image.colour))
                << "after sample " << i;
        }
    }
}


// The paper shows each segment where its dabs changed pixels: after every sample, composing
// the whole paper again changes nothing, for every pen kind.
TEST(StrokeEnd, EachSampleShowsAllItChanged)
{
    for (int kind = 0; kind < kPenKindCount; ++kind) {
        SCOPED_TRACE(kind);
        DabFixture f(80, 80);
        f.Fill(0xFF90A0B0);
        f.paper->RecomposeAll(false);
        f.UsePen(kind);
        f.pen.SetMaxRadius(7);
        f.pen.SetColor(0x2040F0);
        ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 8, 8, 0.5f, false));
        for (int i = 1; i < 30; ++i) {
            f.paper->AddStrokePoint(f.image, f.pen, f.track, 8.0f + float(i) * 2.1f, 8.0f + float(i * i % 60),
                                    float(i % 7) / 6.0f, false);
            const std::vector<uint32_t> shown = AllPixels(f.paper->Composite());
            f.paper->RecomposeAll(false);
            ASSERT_EQ(shown, AllPixels(f.paper->Composite()))
                << "after sample " << i;
        }
        SExtent rect;
        EXPECT_TRUE(f.paper->EndStroke(f.image, f.pen, f.track, rect, false));
    }
}

} // namespace
} // namespace pv::test
