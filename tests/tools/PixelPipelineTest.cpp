// The pixel pipeline: the final colour operations with and without transparency protection,
// the selection mask, the tone and gradation stages through their source, and the writers
// coming back after a renderer call.
#include "DabFixture.h"

#include "tools/PipelineSources.h"

namespace pv::test {
namespace {

struct FinalCase {
    FinalColourOp op;
    uint32_t pixel, coverage, colour, expected;
};

TEST(PixelPipeline, FinalOperations)
{
    const FinalCase cases[] = {
        // plain mix: colour channels only, alpha kept
        {PlainMixOp, 0x80FFFFFF, 255, 0x000000, 0x80000000},
        {PlainMixOp, 0x00FFFFFF, 128, 0x000000, 0x007F7F7F},
        {PlainMixOp, 0xFF102030, 0, 0xFFFFFF, 0xFF102030},
        // transparency-aware paint
        {TransparentPaintOp, 0x00FFFFFF, 0, 0x000000, 0x00FFFFFF},
        {TransparentPaintOp, 0x00FFFFFF, 255, 0x123456, 0xFF123456},
        {TransparentPaintOp, 0xFFFFFFFF, 128, 0x000000, 0xFF7F7F7F},
        // a = 0: the paint is all the pixel has, alpha = the coverage
        {TransparentPaintOp, 0x00FFFFFF, 100, 0x000000, 0x64000000},
        // a = 128, c = 128: a' = 128 + 127 x 128 / 255 = 191, weight 128 x 255 / 191 = 170
        {TransparentPaintOp, 0x80FFFFFF, 128, 0x000000, 0xBF555555},
        {AlphaEraseOp, 0xFF102030, 255, 0, 0x00102030},
        {AlphaEraseOp, 0x80102030, 128, 0, 0x40102030},
        // alpha mixing: the colour's alpha mixed in; nothing left of alpha drops the colour mix
        {AlphaMixOp, 0xFFFFFFFF, 255, 0x00000000, 0x00FFFFFF},
        {AlphaMixOp, 0x00FFFFFF, 255, 0xFF000000, 0xFF000000},
    };
    for (const FinalCase &c : cases) {
        uint32_t pixel = c.pixel;
        c.op(pixel, c.coverage, c.colour);
        EXPECT_EQ(c.expected, pixel) << std::hex << c.pixel << " c " << std::dec << c.coverage;
    }
}

// An airbrush stroke across half-transparent pixels: with protection no alpha moves.
TEST(PixelPipeline, ProtectedLayerKeepsEveryAlpha)
{
    for (bool protect : {false, true}) {
        DabFixture f;
        f.Fill(0x40FFFFFF);
        f.paper->ActiveLayer()->protectTransparency = protect;
        f.UsePen(kPenAirbrush);
        f.pen.SetMaxRadius(6);
        f.pen.SetDensity(1);
        ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 10, 10, 1, false));
        for (float x : {14.0f, 18.0f, 22.0f, 26.0f})
            f.paper->AddStrokePoint(f.image, f.pen, f.track, x, 12, 1, false);
        bool alphaMoved = false, colourMoved = false;
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 48; ++x) {
                alphaMoved |= (f.image.colour.At(x, y) >> 24) != 0x40;
                colourMoved |= (f.image.colour.At(x, y) & 0xFFFFFF) != 0xFFFFFF;
            }
        EXPECT_TRUE(colourMoved);
        EXPECT_EQ(!protect, alphaMoved) << "protect " << protect;
    }
}

// Only the selected part is painted, at the mask's value; outside the mask's image nothing.
TEST(PixelPipeline, SelectionMaskScreensTheCoverage)
{
    DabFixture f;
    CMaskMngr &masks = f.paper->Masks();
    if (!masks.Current())
        masks.Select(masks.Count());
    CMaskData &mask = *masks.Current();
    ASSERT_TRUE(mask.CreateImage(20, 48));
    mask.Image()->FillRect({0, 0, 10, 48}, 255);
    mask.Image()->FillRect({10, 0, 10, 48}, 128);
    f.paper->selectionEnabled = true;
    f.UseSoftPen(kPenAirbrush, 0, 1);
    DabContext dab = f.Context();
    auto pipeline = f.Pipeline();
    AirbrushDab(dab, 15, 20, 1, 14);
    EXPECT_EQ(0xFF000000u, f.image.colour.At(5, 20));
    EXPECT_EQ(0xFF7F7F7Fu, f.image.colour.At(15, 20));
    EXPECT_EQ(0xFFFFFFFFu, f.image.colour.At(25, 20)) << "outside the mask's image";
}

class FixedSources : public PipelineSources {
public:
    bool HasTone() const override { return true; }
    uint8_t ToneAt(int32_t x, int32_t) const override { return x % 2 ? 0 : 255; }
    bool HasGradation() const override { return true; }
    uint32_t GradationAt(int32_t, int32_t) const override { return 0xFF00FF00; }
};

TEST(PixelPipeline, ToneAndGradationComeFromTheSources)
{
    FixedSources sources;
    SetPipelineSources(&sources);
    DabFixture f;
    f.UseSoftPen(kPenAirbrush, 0, 1);
    f.pen.SetUseTone(true, false);
    f.pen.SetUseGradation(true, false);
    {
        DabContext dab = f.Context();
        auto pipeline = f.Pipeline();
        AirbrushDab(dab, 20, 20, 1, 6);
    }
    SetPipelineSources(nullptr);
    EXPECT_EQ(0xFF00FF00u, f.image.colour.At(20, 20));
    EXPECT_EQ(0xFFFFFFFFu, f.image.colour.At(21, 20)) << "the tone holds nothing there";
    EXPECT_EQ(CurrentPixelWriters().colour, ExactColourWriter) << "the writers come back";
}

} // namespace
} // namespace pv::test
