// The area-averaging resampler on small known images.
#include "raster/CScaleImage.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TEST(ScaleImage, FixedQuotients)
{
    struct Case {
        int64_t a, b;
        int32_t q;
    } cases[] = {{1, 1, 0x10000}, {1, 2, 0x8000}, {1, 3, 0x5555}, {3, 2, 0x18000}, {-1, 2, -0x8000}, {4096, 4095, 0x10010}};
    for (const Case &c : cases)
        EXPECT_EQ(c.q, FixedQuotient(c.a, c.b)) << c.a << "/" << c.b;
}

// A 4 x 4 colour image whose pixel (x, y) has blue 16 (4 y + x) and alpha 255.
void Ramp(TMTC &image)
{
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.At(x, y) = 0xFF000000u | uint32_t(16 * (4 * y + x));
}

TEST(ScaleImage, DownscalingAveragesBlocksAndUpscalingRepeatsPixels)
{
    TMTC source(4, 4), half(2, 2), big(8, 8);
    Ramp(source);
    CScaleImageTMTC down(&source, &half);
    ASSERT_TRUE(down.Resample({0, 0, 4, 4}, {0, 0, 2, 2}));
    // Block (0, 0): 0, 16, 64, 80 → 40; block (1, 1): 160, 176, 224, 240 → 200.
    EXPECT_EQ(0xFF000000u | 40, half.At(0, 0));
    EXPECT_EQ(0xFF000000u | 200, half.At(1, 1));
    CScaleImageTMTC up(&source, &big);
    ASSERT_TRUE(up.Resample({0, 0, 4, 4}, {0, 0, 8, 8}));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(source.At(x / 2, y / 2), big.At(x, y)) << x << "," << y;
    EXPECT_FALSE(up.Resample({10, 10, 4, 4}, {0, 0, 8, 8})) << "a source rectangle outside the image";
}

TEST(ScaleImage, SpansBeyondTheEdgeAverageOnlyTheirInside)
{
    TMTC source(4, 4);
    Ramp(source);
    CScaleImageTMTC sampler(&source, nullptr);
    uint32_t p = 0;
    // The square (3, 3)-(5, 5) holds only pixel (3, 3) of the source.
    ASSERT_TRUE(sampler.SamplePixel(&p, 3 << 16, 3 << 16, 5 << 16, 5 << 16));
    EXPECT_EQ(source.At(3, 3), p);
    // Half of pixel 0 and half of pixel 1 on row 0: (0 · 0.5 + 16 · 0.5) / 1.
    ASSERT_TRUE(sampler.SamplePixel(&p, 0x8000, 0, 0x18000, 0x10000));
    EXPECT_EQ(0xFF000000u | 8, p);
    EXPECT_FALSE(sampler.SamplePixel(&p, 5 << 16, 0, 6 << 16, 1 << 16)) << "wholly outside";
    // A square starting left of and above the source reads only its part inside.
    ASSERT_TRUE(sampler.SamplePixel(&p, -(1 << 16), -(1 << 16), 1 << 16, 1 << 16));
    EXPECT_EQ(source.At(0, 0), p);
    EXPECT_FALSE(sampler.SamplePixel(&p, -(3 << 16), 0, -(1 << 16), 1 << 16)) << "an empty clamped span";
}

TEST(ScaleImage, ChannelsLayersAndMasks)
{
    TChannel source(3, 1), dest(1, 1);
    source.At(0, 0) = 30;
    source.At(1, 0) = 60;
    source.At(2, 0) = 90;
    CScaleImageCH channel(source, dest);
    ASSERT_TRUE(channel.Resample({0, 0, 3, 1}, {0, 0, 1, 1}));
    EXPECT_EQ(60, dest.At(0, 0));

    CBlockVMTC layer(64, 64), zoomed(32, 32);
    layer.SetEveryTile(0x80FF0000);
    layer.WritePixel(0, 0, 0x80FF0000); // allocated, same value
    CScaleLayerImage layers(layer, zoomed);
    ASSERT_TRUE(layers.Resample({0, 0, 64, 64}, {0, 0, 32, 32}));
    EXPECT_EQ(0x80FF0000u, zoomed.Pixel(31, 31));

    CBlockVCH mask(10, 10), small(5, 5);
    mask.FillRect({0, 0, 4, 10}, 255);
    CScaleMaskImage masks(mask, small);
    ASSERT_TRUE(masks.Resample({0, 0, 10, 10}, {0, 0, 5, 5}));
    EXPECT_EQ(255, small.Value(1, 2));
    EXPECT_EQ(0, small.Value(3, 2));
}

} // namespace
} // namespace pv
