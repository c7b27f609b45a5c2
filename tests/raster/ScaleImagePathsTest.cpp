// The row-wise resample paths against the per-pixel area average (the one-pixel sampler):
// whole-pixel sums, halving, enlarging and float rows must give the same bytes for every
// size, factor and offset.
#include "raster/CScaleImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace pv {
namespace {

// Random pixels with rows of opaque white and of transparent black, where the clamp and the
// 0.01 bias decide the bytes of thin spans, and a flat right third: there a large span's
// average lies within rounding of a whole number, so every rounding step shows in the bytes.
void Fill(TMTC &image, uint32_t seed)
{
    std::mt19937 random(seed);
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x)
            image.At(x, y) = 3 * x >= 2 * image.Width() ? 0xC9A1377Fu
                             : y % 7 == 3               ? 0xFFFFFFFFu
                             : y % 7 == 5               ? 0u
                                                        : uint32_t(random());
}

struct Case {
    int32_t sourceW, sourceH;
    SExtent source;  // the rectangle read
    int32_t destW, destH;
    SExtent dest;  // the rectangle written
};

// Every pixel of the destination rectangle that lies in the image: the average of its span
// through the one-pixel sampler, the spans stepping over the whole rectangle.
void Expect(TMTC &expected, const TMTC &source, const Case &c, int32_t hScale, int32_t vScale)
{
    CScaleImageTMTC sampler(&source, nullptr);
    const int64_t x0 = int64_t(c.source.x) << 16, y0 = int64_t(c.source.y) << 16;
    for (int32_t j = 0; j < c.dest.height; ++j)
        for (int32_t k = 0; k < c.dest.width; ++k) {
            const int32_t x = c.dest.x + k, y = c.dest.y + j;
            const int64_t left = x0 + int64_t(k) * hScale, top = y0 + int64_t(j) * vScale;
            uint32_t p = 0;
            if (x >= 0 && y >= 0 && x < expected.Width() && y < expected.Height() &&
                sampler.SamplePixel(&p, left, top, left + hScale, top + vScale))
                expected.At(x, y) = p;
        }
}

TEST(ScaleImagePaths, RowPathsGiveThePerPixelAverage)
{
    const Case cases[] = {
        {130, 66, {0, 0, 130, 66}, 65, 33, {0, 0, 65, 33}},        // halving with a tail
        {131, 67, {1, 3, 128, 60}, 70, 40, {4, 5, 64, 30}},        // halving at offsets
        {128, 64, {0, 0, 128, 64}, 32, 16, {0, 0, 32, 16}},        // whole 4 x 4
        {96, 90, {0, 0, 96, 90}, 32, 30, {0, 0, 32, 30}},          // whole 3 x 3
        {128, 64, {0, 0, 128, 64}, 64, 16, {0, 0, 64, 16}},        // whole 2 x 4
        {100, 80, {0, 0, 100, 80}, 33, 26, {0, 0, 33, 26}},        // 0.333: parts of pixels
        {200, 120, {5, 7, 190, 100}, 12, 6, {1, 1, 11, 6}},        // 0.06
        {64, 40, {0, 0, 64, 40}, 80, 50, {0, 0, 80, 50}},          // 1.25
        {64, 40, {0, 0, 64, 40}, 96, 60, {0, 0, 96, 60}},          // 1.5
        {64, 40, {0, 0, 64, 40}, 112, 70, {0, 0, 112, 70}},        // 1.75
        {45, 30, {3, 2, 40, 27}, 100, 61, {7, 3, 83, 55}},         // enlarging at offsets, odd sizes
        {16, 16, {0, 0, 16, 16}, 32, 32, {0, 0, 32, 32}},          // doubling: whole single pixels
        {50, 40, {0, 0, 50, 40}, 50, 40, {0, 0, 50, 40}},          // the same size
        {64, 40, {0, 0, 64, 40}, 90, 20, {0, 0, 90, 20}},          // wider, lower
        {40, 64, {0, 0, 40, 64}, 13, 150, {0, 0, 13, 150}},        // narrower, taller
        {7, 5, {0, 0, 7, 5}, 300, 1, {0, 0, 300, 1}},              // far enlarged, one row
        {300, 3, {0, 0, 300, 3}, 1, 1, {0, 0, 1, 1}},              // everything into one pixel
        {9, 9, {0, 0, 9, 9}, 40, 41, {-5, -6, 50, 50}},            // a destination rectangle clipped
        {120, 90, {0, 0, 120, 90}, 50, 40, {-70, -33, 240, 180}},  // a view twice the size, showing its middle
        {120, 90, {0, 0, 120, 90}, 50, 40, {-37, -20, 60, 45}},    // a view half the size, cut on every side
        {1100, 2000, {0, 0, 1100, 2000}, 2, 1, {0, 0, 2, 1}},      // windows too tall for float rows
    };
    for (const Case &c : cases) {
        TMTC source(c.sourceW, c.sourceH), dest(c.destW, c.destH);
        Fill(source, uint32_t(c.sourceW * 1000 + c.destW));
        const uint32_t background = 0x12345678;
        dest.Fill(background);
        CScaleImageTMTC resampler(&source, &dest);
        ASSERT_TRUE(resampler.Resample(c.source, c.dest)) << c.destW << "x" << c.destH;
        SExtent clipped = c.dest;
        ASSERT_TRUE(ClipToImage(clipped, c.destW, c.destH));
        // The scales are those of the whole rectangle, however much of it is cut away.
        ASSERT_EQ(FixedQuotient(c.source.width, c.dest.width), resampler.hScale());
        ASSERT_EQ(FixedQuotient(c.source.height, c.dest.height), resampler.vScale());
        TMTC expected(c.destW, c.destH);
        expected.Fill(background);
        Expect(expected, source, c, resampler.hScale(), resampler.vScale());
        for (int32_t y = 0; y < c.destH; ++y)
            for (int32_t x = 0; x < c.destW; ++x)
                ASSERT_EQ(expected.At(x, y), dest.At(x, y))
                    << c.sourceW << "x" << c.sourceH << " onto " << c.destW << "x" << c.destH << " at " << x << "," << y;

        // Layer images take the generic loop through the same spans.
        CBlockVMTC layer(c.sourceW, c.sourceH), zoomed(c.destW, c.destH);
        for (int32_t y = 0; y < c.sourceH; ++y)
            for (int32_t x = 0; x < c.sourceW; ++x)
                layer.WritePixel(x, y, source.At(x, y));
        CScaleLayerImage layers(layer, zoomed);
        ASSERT_TRUE(layers.Resample(c.source, c.dest));
        for (int32_t y = clipped.y; y < clipped.y + clipped.height; ++y)
            for (int32_t x = clipped.x; x < clipped.x + clipped.width; ++x)
                ASSERT_EQ(expected.At(x, y), zoomed.Pixel(x, y)) << "layer " << c.destW << "x" << c.destH << " at " << x << "," << y;
    }
}

// Halving stores a quarter of each sum of four whole pixels, truncated: the byte the float
// average stores, for every possible sum.
TEST(ScaleImagePaths, HalvingStoresTheQuarterOfEachSum)
{
    for (int32_t s = 0; s <= 4 * 255; ++s)
        ASSERT_EQ(s >> 2, std::clamp(int32_t((float(s) + 0.01f) / 4.0f), 0, 255)) << s;
}

} // namespace
} // namespace pv
