// What one dab of each kind does to known pixels: the airbrush profile, the pencil's spans,
// the eraser's alpha, the exposure of darken and lighten, the blur's window and the
// watercolour's colour.
#include "DabFixture.h"

#include "raster/PixelMath.h"

namespace pv::test {
namespace {

struct PixelCase {
    int32_t x, y;
    uint32_t expected;
};

// airMap 3, radius 10, black at (10.5, 10.5) on opaque white: the coverage is
// 255 (2047 - i) / 2047 at i = trunc(d x 2047 / 10) times the density, the pixel the white
// mixed towards black by it.
TEST(AirbrushDab, LinearProfileOnWhite)
{
    struct Case {
        float density;
        std::vector<PixelCase> grey;
    };
    const Case cases[] = {
        {1, {{10, 10, 0}, {15, 10, 128}, {13, 14, 128}, {19, 10, 230}, {20, 10, 255}, {17, 17, 253}, {4, 4, 217},
             {0, 10, 255}}},
        {0.5f, {{10, 10, 128}}},
    };
    for (const Case &c : cases) {
        DabFixture f;
        f.UseSoftPen(kPenAirbrush, 3, c.density);
        DabContext dab = f.Context();
        auto pipeline = f.Pipeline();
        AirbrushDab(dab, 10.5f, 10.5f, 1, 10);
        for (const PixelCase &p : c.grey)
            EXPECT_EQ(0xFF000000u | p.expected * 0x010101u, f.image.colour.At(p.x, p.y))
                << c.density << " at " << p.x << "," << p.y;
    }
}

TEST(PencilDab, SpansOfAThinPen)
{
    struct Case {
        float radius;
        std::vector<PixelCase> coverage;
    };
    // Radius 0.4: one span each way at half opacity, 0.8 of a pixel wide. Radius 1: the spans
    // of both rasterisers, the covered share of the first and last rows and columns.
    const Case cases[] = {
        {0.4f, {{10, 10, 102}, {9, 10, 0}, {11, 10, 0}, {10, 9, 0}, {10, 11, 0}}},
        {1.0f, {{10, 10, 255}, {9, 10, 93}, {10, 9, 93}, {11, 10, 127}, {10, 11, 127}, {11, 11, 46}, {9, 9, 0}}},
    };
    for (const Case &c : cases) {
        DabFixture f;
        f.UsePen(kPenPencil);
        DabContext dab = f.Context();
        auto pipeline = f.Pipeline();
        PencilDab(dab, 10.5f, 10.5f, 1, c.radius);
        for (const PixelCase &p : c.coverage)
            EXPECT_EQ(p.expected, f.image.coverage.At(p.x, p.y)) << "r " << c.radius << " at " << p.x << "," << p.y;
    }
}

TEST(PencilDab, CoverageIsPaintedInThePenColour)
{
    DabFixture f;
    f.Fill(0xFFFFFFFF);
    f.UseSteadyPen(kPenPencil, 4);
    f.pen.SetColor(0x0000FF);
    ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 10, 10, 1, false));
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 20, 10, 1, false);
    f.paper->AddStrokePoint(f.image, f.pen, f.track, 30, 10, 1, false);
    EXPECT_EQ(255, f.image.coverage.At(14, 10));
    EXPECT_EQ(0xFF0000FFu, f.image.colour.At(14, 10));
    EXPECT_EQ(0xFFFFFFFFu, f.image.colour.At(14, 30));
    SExtent rect;
    ASSERT_TRUE(f.paper->EndStroke(f.image, f.pen, f.track, rect, false));
    EXPECT_EQ(0xFF0000FFu, f.paper->ActiveLayer()->Image()->Pixel(14, 10));
    EXPECT_EQ(0, f.image.coverage.At(14, 10));
}

// The eraser takes alpha away by the coverage; with protection it paints the neutral colour.
TEST(EraserDab, AlphaOrNeutralColour)
{
    struct Case {
        bool protect;
        uint32_t before, after;
    };
    for (const Case &c : {Case{false, 0xFF102030, 0x00102030}, Case{false, 0x80102030, 0x00102030},
                          Case{true, 0xFF102030, 0xFFFFFFFF}}) {
        DabFixture f;
        f.Fill(c.before);
        f.paper->ActiveLayer()->protectTransparency = c.protect;
        f.UsePen(kPenEraser);
        f.pen.SetDensity(1);
        f.pen.SetSmoothEdge(false);
        DabContext dab = f.Context();
        auto pipeline = f.Pipeline();
        EraserDab(dab, 20, 20, 1, 6);
        EXPECT_EQ(c.after, f.image.colour.At(20, 20)) << c.protect << " " << std::hex << c.before;
        EXPECT_EQ(c.before, f.image.colour.At(20, 30)) << "outside the disc";
    }
    // Half opacity halves the alpha.
    DabFixture f;
    f.Fill(0xFF102030);
    f.UsePen(kPenEraser);
    f.pen.SetSmoothEdge(false);
    DabContext dab = f.Context();
    auto pipeline = f.Pipeline();
    EraserDab(dab, 20, 20, 0.5f, 6);
    EXPECT_EQ(0x80102030u, f.image.colour.At(20, 20));
}

// Exposure 0 is the identity curve: every colour stays exactly as it was, whatever the
// conversions to lightness and back round. Full exposure darkens or lightens.
TEST(ExposureDab, EffectZeroLeavesPixelsUnchanged)
{
    for (int kind : {kPenDarken, kPenLighten}) {
        DabFixture f(64, 64);
        for (int32_t y = 0; y < 64; ++y)
            for (int32_t x = 0; x < 64; ++x)
                f.image.colour.At(x, y) = 0xFF000000u | uint32_t(x * 4) << 16 | uint32_t(y * 4) << 8 | uint32_t((x * y) & 0xFF);
        const std::vector<uint32_t> before = AllPixels(f.image.colour);
        f.UsePen(kind);
        f.pen.SetEffect(0);
        f.pen.SetDensity(1);
        DabContext dab = f.Context();
        auto pipeline = f.Pipeline();
        ExposureDab(dab, 32, 32, 1, 40);
        EXPECT_EQ(before, AllPixels(f.image.colour));
    }
    for (int kind : {kPenDarken, kPenLighten}) {
        DabFixture f;
        f.Fill(0xFF808080);
        f.UsePen(kind);
        f.pen.SetEffect(100);
        f.pen.SetDensity(1);
        DabContext dab = f.Context();
        auto pipeline = f.Pipeline();
        ExposureDab(dab, 20.5f, 20.5f, 1, 10);
        const uint32_t grey = f.image.colour.At(20, 20) & 0xFF;
        EXPECT_EQ(0xFFu, f.image.colour.At(20, 20) >> 24);
        if (kind == kPenDarken)
            EXPECT_LT(grey, 0x80u);
        else
            EXPECT_GT(grey, 0x80u);
    }
}

TEST(BlurDab, EffectZeroStillAveragesThreeByThree)
{
    DabFixture f;
    f.Fill(0xFFFFFFFF);
    f.paper->ActiveLayer()->Image()->WritePixel(20, 20, 0xFF000000);
    f.image.colour.At(20, 20) = 0xFF000000;
    f.UsePen(kPenBlur);
    f.pen.SetEffect(0);
    f.pen.SetDensity(1);
    DabContext dab = f.Context();
    auto pipeline = f.Pipeline();
    BlurDab(dab, 20.5f, 20.5f, 1, 8);
    // At the centre the cone is 255: the window mean, 8 whites and a black.
    EXPECT_EQ(0xFFE2E2E2u, f.image.colour.At(20, 20));
    EXPECT_EQ(0xFFFFFFFFu, f.image.colour.At(22, 20)) << "outside the black pixel's windows";
}

// Windows of 401 x 401 pixels: the sums times 255 no longer fit 32 bits, and the colour must
// still come out as the layer's.
TEST(BlurDab, LargeWindowsKeepTheColour)
{
    DabFixture f(96, 96);
    f.Fill(0xFF4080C0);
    f.UsePen(kPenBlur);
    f.pen.SetEffect(100);
    f.pen.SetDensity(1);
    DabContext dab = f.Context();
    auto pipeline = f.Pipeline();
    BlurDab(dab, 48, 48, 1, 200);
    EXPECT_EQ(0xFF4080C0u, f.image.colour.At(48, 48));
    EXPECT_EQ(0xFF4080C0u, f.image.colour.At(0, 95));
}

// Speed 0: the pen colour from the first dab; env 0 keeps the surroundings out.
TEST(WatercolourDab, SpeedZeroPaintsThePenColour)
{
    DabFixture f;
    f.Fill(0xFFFFFFFF);
    f.UsePen(kPenWatercolour);
    f.pen.SetSpeed(0);
    f.pen.SetEnv(0);
    f.pen.SetEffect(100); // the start colour is the canvas's, speed 0 overrides it at once
    f.pen.SetColor(0xFF0000);
    DabContext dab = f.Context(20, 20);
    EXPECT_EQ(0xFFFFFFu, f.track.dab.startColour);
    auto pipeline = f.Pipeline();
    WatercolourDab(dab, 20.5f, 20.5f, 1, 6);
    EXPECT_EQ(0xFF0000u, f.track.dab.workingColour);
    const uint32_t p = f.image.colour.At(20, 20);
    EXPECT_EQ(0xFFu, RedOf(p));
    EXPECT_LT(GreenOf(p), 0xFFu);
    EXPECT_EQ(GreenOf(p), BlueOf(p));
}

TEST(FingerTipDab, StrokeThatNeverLeavesItsPixelDrawsNothing)
{
    DabFixture f;
    f.Fill(0xFFFFFFFF);
    f.image.colour.At(10, 10) = 0xFF000000;
    f.paper->ActiveLayer()->Image()->WritePixel(10, 10, 0xFF000000);
    f.UsePen(kPenFingerTip);
    // The tip starts at (10, 10); the steps run half a pixel on, at 10.5 to 10.9.
    ASSERT_TRUE(f.paper->BeginStroke(f.image, f.pen, f.track, 10, 10, 1, false));
    for (float d : {0.1f, 0.2f, 0.3f, 0.4f})
        f.paper->AddStrokePoint(f.image, f.pen, f.track, 10 + d, 10 + d / 2, 1, false);
    EXPECT_GT(f.track.dabs, 0);
    EXPECT_EQ(0, f.track.dab.tipCount);
    EXPECT_EQ(0xFFFFFFFFu, f.image.colour.At(12, 10));
    EXPECT_EQ(0xFF000000u, f.image.colour.At(10, 10));
}

TEST(FingerTipDab, CarriesTheCanvasFromThePreviousPosition)
{
    DabFixture f;
    f.Fill(0xFFFFFFFF);
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 14; ++x)
            f.image.colour.At(x, y) = 0xFF0000FF;
    f.UsePen(kPenFingerTip);
    f.pen.SetDensity(1);
    // The first copy is taken for radius 1 (9 x 9 pixels); the dab at radius 10 reads past
    // its edge, which repeats.
    DabContext dab = f.Context(8, 20);
    TakeTipCopy(f.image.colour, f.track.dab.tips[0], 8, 20, 1);
    auto pipeline = f.Pipeline();
    FingerTipDab(dab, 8.5f, 20.5f, 1, 1); // the tip's own pixel: nothing yet
    EXPECT_EQ(0, f.track.dab.tipCount);
    FingerTipDab(dab, 20.5f, 20.5f, 1, 10);
    EXPECT_EQ(1, f.track.dab.tipCount);
    EXPECT_EQ(0xFF0000FFu, f.image.colour.At(20, 20)) << "the blue under the previous tip";
    const uint32_t rim = f.image.colour.At(27, 20); // 7 pixels out, beyond the 4 the copy holds
    EXPECT_EQ(0xFFu, BlueOf(rim));
    EXPECT_LT(RedOf(rim), 0xFFu);
}

} // namespace
} // namespace pv::test
