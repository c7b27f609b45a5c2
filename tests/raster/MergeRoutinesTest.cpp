// Merge routines, the pair table, the two-mode merge and the image-level layer merge.
#include "raster/ColourCopies.h"
#include "raster/ImageDrivers.h"
#include "raster/MergePairs.h"
#include "raster/SLayerParam.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

uint32_t Grey(uint32_t v, uint32_t alpha)
{
    return (alpha << 24) | v * 0x010101u;
}

// Lower grey 100 at alpha 128 under upper grey 200 at (alpha, opacity).
TEST(MergeRoutines, EachMergeOnAHalfCoveredLowerPixel)
{
    struct Case {
        const char *name;
        MergeRoutine merge;
        uint32_t want[3][2]; // {colour, alpha} for (255, 255), (alpha 255, opacity 128), (128, 255)
    };
    const Case cases[] = {
        {"normal", NormalMerge, {{200, 255}, {166, 191}, {166, 191}}},
        {"multiply", MultiplyMerge, {{138, 255}, {126, 192}, {126, 192}}},
        {"additive", AdditiveMerge, {{250, 255}, {150, 255}, {150, 255}}},
        {"screen", ScreenMerge, {{211, 255}, {174, 192}, {174, 192}}},
        {"difference", DifferenceMerge, {{149, 255}, {133, 192}, {133, 192}}},
        {"darken", DarkenMerge, {{177, 255}, {235, 192}, {235, 192}}},
        {"lighten", LightenMerge, {{200, 255}, {166, 192}, {166, 192}}},
        {"overlay", LayerParam(5).merge, {{177, 255}, {192, 192}, {192, 192}}},
    };
    const struct {
        uint32_t alpha;
        int opacity;
    } uppers[3] = {{255, 255}, {255, 128}, {128, 255}};
    for (const Case &c : cases) {
        for (int u = 0; u < 3; ++u) {
            uint32_t pixel = Grey(100, 128);
            c.merge(&pixel, Grey(200, uppers[u].alpha), uppers[u].opacity);
            EXPECT_EQ(pixel, Grey(c.want[u][0], c.want[u][1])) << c.name << " upper " << u;
        }
    }
}

TEST(MergeRoutines, NormalMergeEdgeCases)
{
    uint32_t pixel = 0x20FFFFFF;
    NormalMerge(&pixel, 0xFF123456, 255);
    EXPECT_EQ(pixel, 0xFF123456u);
    pixel = 0x00FFFFFF;
    NormalMerge(&pixel, 0xFF123456, 128);
    EXPECT_EQ(pixel, 0x80123456u);
    pixel = 0x80808080;
    AdditiveMerge(&pixel, 0x80808080, 255);
    EXPECT_EQ(pixel >> 24, 255u);
}

TEST(MergeRoutines, AnUpperPixelThatCoversNothingLeavesTheLowerPixel)
{
    for (int mode = 0; mode < kLayerModeCount; ++mode) {
        for (const uint32_t upper : {0x00FFFFFFu, 0x00000000u, 0x01FFFFFFu}) {
            uint32_t pixel = 0x80402010;
            LayerParam(mode).merge(&pixel, upper, upper >> 24 == 0 ? 255 : 100);
            EXPECT_EQ(pixel, 0x80402010u) << "mode " << mode << " upper " << std::hex << upper;
        }
    }
    uint32_t pixel = 0x80402010;
    GenericMerge(&pixel, 0x00FFFFFF, 255, SMergeParam{0xFFFFFF, 0, PaintNormal, LayerParam(14).paint});
    EXPECT_EQ(pixel, 0x80402010u);
}

TEST(MergeRoutines, GenericMergeMayStartFromTheSource)
{
    // Half-covered black below, half-covered white above: merged alpha 192.
    uint32_t fromBase = 0x80000000, fromSource = 0x80000000;
    GenericMerge(&fromBase, 0x80FFFFFF, 255, SMergeParam{0x000000, 0, PaintNormal, PaintNormal});
    GenericMerge(&fromSource, 0x80FFFFFF, 255, SMergeParam{0x000000, kMergeStartsFromSource, PaintNormal, PaintNormal});
    EXPECT_EQ(fromBase, 0xC0AAAAAAu);
    // Starting from the white source, the black lower pixel is laid over white.
    EXPECT_EQ(fromSource, 0xC0FDFDFDu);
}

TEST(MergeRoutines, PairTableVariantsSearchTheirRows)
{
    EXPECT_EQ(FindMergePair(1, 0, 0), MergeRoutine(MultiplyMerge));
    EXPECT_EQ(FindMergePair(1, 3, 0), nullptr);
    EXPECT_EQ(FindMergePair(2, 3, 0), MergeRoutine(MultiplyMerge));
    EXPECT_EQ(FindMergePair(2, 3, 3), nullptr);
    EXPECT_EQ(FindMergePair(3, 3, 3), MergeRoutine(NormalMerge));
    EXPECT_EQ(FindMergePair(3, 1, 1), MergeRoutine(AdditiveMerge));
    EXPECT_EQ(FindMergePair(4, 0, 0), nullptr);
    const SMergeParam param = TwoModeMergeParam(3, 5);
    EXPECT_EQ(param.base, 0x7F7F7Fu);
    EXPECT_EQ(param.flags, 0x26u);
    EXPECT_EQ(param.lower, LayerParam(3).paint);
    EXPECT_EQ(param.upper, LayerParam(5).paint);
}

TEST(MergeRoutines, LayerMergeFoldsLowerOpacityAndInvertsForSubtractBelow)
{
    TMTC lower(2, 1), upper(1, 1);
    lower.Fill(Grey(100, 255));
    upper.Fill(Grey(200, 255));
    ASSERT_TRUE(MergeLayerImages(lower, 3, 128, upper, 3, 255, {1, 0}, 0));
    EXPECT_EQ(lower.At(0, 0), Grey(100, 128));
    EXPECT_EQ(lower.At(1, 0), Grey(200, 255));

    // Subtract below overlay: no pair row, so the two-mode merge, then every colour inverted.
    lower.Fill(Grey(100, 255));
    ASSERT_TRUE(MergeLayerImages(lower, 2, 255, upper, 5, 255, {0, 0}, 3));
    uint32_t want = Grey(100, 255);
    GenericMerge(&want, Grey(200, 255), 255, TwoModeMergeParam(2, 5));
    EXPECT_EQ(lower.At(0, 0), want ^ 0x00FFFFFFu);
    EXPECT_EQ(lower.At(1, 0), Grey(155, 255));
    EXPECT_FALSE(MergeLayerImages(lower, 3, 255, upper, 3, 255, {0, 0}, 4));
    EXPECT_EQ(lower.At(1, 0), Grey(155, 255));
}

TEST(ImageDrivers, LoweredVariantsFoldTheLowerOpacityFirst)
{
    TMTC dest(2, 2), source(2, 2);
    dest.Fill(Grey(0, 255));
    source.Fill(Grey(255, 255));
    ASSERT_TRUE(DrawWithOperatorLowered(source, dest, {0, 0}, NormalMerge, 128, {0, 0, 1, 1}, 128));
    uint32_t want = Grey(0, 128);
    NormalMerge(&want, Grey(255, 255), 128);
    EXPECT_EQ(dest.At(0, 0), want);
    EXPECT_EQ(dest.At(1, 1), Grey(0, 255));
    EXPECT_FALSE(DrawWithOperatorLowered(source, dest, {0, 0}, NormalMerge, 0, {0, 0, 1, 1}, 128));
    ASSERT_TRUE(ApplyWithMerge(dest, {1, 1, 1, 1}, TwoModeMergeParam(3, 3), Grey(255, 255), 255, 0));
    EXPECT_EQ(dest.At(1, 1), Grey(255, 255));
    EXPECT_EQ(DrawingOperatorOf(1), LayerParam(1).paint);
    EXPECT_EQ(DrawingOperatorOf(7), PaintRoutine(PaintNormal));
}

TEST(ImageDrivers, DrawsWithRowLoopsMatchTheRoutines)
{
    const ColourOp ops[] = {LayerParam(5).compose, LayerParam(14).compose, PaintMultiply, PaintAdd, PaintNormal,
                            NormalMerge};
    for (const ColourOp op : ops) {
        TMTC dest(11, 2), source(11, 2), copy(11, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 11; ++x) {
                dest.At(x, y) = 0xFF000000u | uint32_t(x * 20 + y * 90) * 0x010101u;
                source.At(x, y) = uint32_t(25 * x) << 24 | 0x30C060u;
            }
        CopyColourRect(copy, dest, {0, 0}, {0, 0, 11, 2});
        ASSERT_TRUE(DrawWithOperator(source, dest, {1, 0}, op, 200));
        for (int y = 0; y < 2; ++y)
            for (int x = 1; x < 11; ++x) {
                uint32_t want = copy.At(x, y);
                op(&want, source.At(x - 1, y), 200);
                EXPECT_EQ(dest.At(x, y), want) << x << "," << y;
            }
        EXPECT_EQ(dest.At(0, 0), copy.At(0, 0));
    }
}

} // namespace
} // namespace pv
