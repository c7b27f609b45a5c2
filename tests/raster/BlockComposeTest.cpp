// Compositing with block images gives the bytes of the same operation on plain images,
// whatever the tiles' allocation; merges fold the lower opacity everywhere.
#include "raster/CBlockVMTC.h"
#include "raster/ColourCopies.h"
#include "raster/Dither.h"
#include "raster/ImageDrivers.h"
#include "raster/MergePairs.h"
#include "raster/SLayerParam.h"

#include <gtest/gtest.h>

#include <random>

namespace pv {
namespace {

// A 100 x 70 layer: a uniform half-transparent background, random pixels in a few tiles,
// one transparent uniform tile.
void MakeLayer(CBlockVMTC &layer, uint32_t seed)
{
    layer.Create(100, 70);
    layer.SetEveryTile(0x80336699);
    layer.SetColour({64, 32, 32, 32}, 0); // stays uniform
    layer.SetAlpha({64, 32, 32, 32}, 0);
    std::mt19937 random(seed);
    for (int i = 0; i < 400; ++i)
        layer.WritePixel(int(random() % 60), int(random() % 40), random());
}

void ExpectSame(const TMTC &a, const TMTC &b, const char *what)
{
    ASSERT_EQ(a.Width(), b.Width());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.At(x, y), b.At(x, y)) << what << " at " << x << "," << y;
}

TEST(BlockCompose, ViewEqualsComposingThePlainImage)
{
    CBlockVMTC layer;
    MakeLayer(layer, 1);
    TMTC plain(100, 70);
    layer.DrawInto(plain, {0, 0});
    for (int mode : {0, 1, 3, 4, 5, 12, 21})
        for (uint8_t opacity : {255, 128}) {
            TMTC viaTiles(120, 90), reference(120, 90);
            viaTiles.Fill(0xFF808080);
            reference.Fill(0xFF808080);
            layer.ComposeIntoView(viaTiles, mode, opacity, nullptr, 255, {10, 10}, {0, 0, 100, 70});
            DrawWithOperator(plain, reference, {10, 10}, LayerParam(mode).compose, opacity, {0, 0, 100, 70});
            ExpectSame(viaTiles, reference, LayerParam(mode).name);
        }
}

TEST(BlockCompose, DitheredPartialRecomposeEqualsTheFullOne)
{
    CBlockVMTC layer;
    MakeLayer(layer, 2);
    const SRandomRecord record = SeededRandomRecord(1234);
    TMTC full(100, 70), part(100, 70);
    full.Fill(0xFFFFFFFF);
    part.Fill(0xFFFFFFFF);
    layer.ComposeIntoView(full, 3, 255, &record, 128, {0, 0}, {0, 0, 100, 70});
    layer.ComposeIntoView(part, 3, 255, &record, 128, {0, 0}, {0, 0, 50, 70});
    layer.ComposeIntoView(part, 3, 255, &record, 128, {50, 0}, {50, 0, 50, 70});
    ExpectSame(full, part, "dithered");
}

TEST(BlockCompose, MergeEqualsMergingPlainImagesAndFoldsTheLowerOpacityEverywhere)
{
    CBlockVMTC lower, upper;
    MakeLayer(lower, 3);
    MakeLayer(upper, 4);
    TMTC lowerPlain(100, 70), upperPlain(100, 70);
    lower.DrawInto(lowerPlain, {0, 0});
    upper.DrawInto(upperPlain, {0, 0});
    for (int mode : {0, 3, 4}) {
        CBlockVMTC merged;
        merged.CreateAsCopy(lower);
        ASSERT_TRUE(merged.Merge(upper, {0, 0}, LayerParam(mode).merge, 200, 100, {0, 0, 100, 70}));
        TMTC viaTiles(100, 70), reference(100, 70);
        merged.DrawInto(viaTiles, {0, 0});
        CopyColourRect(reference, lowerPlain, {0, 0}, {0, 0, 100, 70});
        ASSERT_TRUE(MergeLayerImages(reference, 3, 100, upperPlain, mode, 200, {0, 0}, 0));
        ExpectSame(viaTiles, reference, LayerParam(mode).name);
    }
    // An upper image covering only part of the lower one still folds the lower opacity into
    // all of it, uniform tiles included.
    CBlockVMTC merged, small(10, 10);
    merged.CreateAsCopy(lower);
    ASSERT_TRUE(merged.Merge(small, {0, 0}, LayerParam(3).merge, 255, 128, {0, 0, 10, 10}));
    EXPECT_EQ(0x40336699u, merged.Pixel(99, 69)) << "alpha 0x80 folded with opacity 128";
}

TEST(BlockCompose, DrawingOperatorOntoABlockImageMakesTouchedAreasOpaque)
{
    CBlockVMTC layer(64, 64), dest(64, 64); // both a new layer's white
    layer.WritePixel(5, 5, 0xFF0000FF);
    ASSERT_TRUE(layer.DrawWithOperatorInto(dest, 3, 255, {0, 0}, {0, 0, 32, 32}));
    EXPECT_EQ(0xFF0000FFu, dest.Pixel(5, 5));
    EXPECT_EQ(0xFFFFFFFFu, dest.Pixel(6, 6)) << "touched: alpha 255";
    EXPECT_EQ(0x00FFFFFFu, dest.Pixel(40, 40)) << "untouched";
}

} // namespace
} // namespace pv
