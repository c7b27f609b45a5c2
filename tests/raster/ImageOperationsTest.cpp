// Pixel access, fills, copies with clipping, conversions and the weighted draws.
#include "raster/ColourCopies.h"
#include "raster/MixTables.h"
#include "raster/PixelMath.h"
#include "raster/TChannel.h"
#include "raster/TMTC.h"
#include "raster/TTC.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pv {
namespace {

// Pixel value = its own position, so a copy shows where each pixel came from.
void NumberPixels(TMTC &image)
{
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.At(x, y) = uint32_t(0xFF000000u | (y << 8) | x);
}

TEST(ImageOperations, CopyClippingMovesPointAndRectangleTogether)
{
    struct Case {
        SPoint point;
        SExtent rect;
        bool ok;
        SPoint wantPoint;
        SExtent wantRect;
    };
    const Case cases[] = {
        {{0, 0}, {-3, -3, 10, 10}, true, {3, 3}, {0, 0, 7, 7}},
        {{-2, 1}, {0, 0, 5, 5}, true, {0, 1}, {2, 0, 3, 5}},
        {{18, 18}, {0, 0, 5, 5}, true, {18, 18}, {0, 0, 2, 2}},
        {{0, 0}, {20, 0, 5, 5}, false, {}, {}},
        {{0, 0}, {-5, 0, 5, 5}, false, {}, {}},
        {{20, 0}, {0, 0, 5, 5}, false, {}, {}},
        {{-5, 0}, {0, 0, 5, 5}, false, {}, {}},
        {{0, 0}, {0, 0, 0, 4}, false, {}, {}},
        {{0, 0}, {INT32_MAX - 1, 0, INT32_MAX, 4}, false, {}, {}},
    };
    for (const Case &c : cases) {
        SPoint p = c.point;
        SExtent r = c.rect;
        const bool ok = ClipCopy(p, r, 20, 20, 20, 20);
        ASSERT_EQ(ok, c.ok) << c.rect.x << "," << c.rect.y;
        if (!ok)
            continue;
        EXPECT_EQ(p.x, c.wantPoint.x);
        EXPECT_EQ(p.y, c.wantPoint.y);
        EXPECT_EQ(r.x, c.wantRect.x);
        EXPECT_EQ(r.y, c.wantRect.y);
        EXPECT_EQ(r.width, c.wantRect.width);
        EXPECT_EQ(r.height, c.wantRect.height);
    }
}

TEST(ImageOperations, CopiesBetweenRowOrdersLandUpright)
{
    TMTC source(5, 4);
    NumberPixels(source);
    TTC dest(6, 6);
    dest.Fill(0);
    ASSERT_TRUE(CopyColourRect(dest, source, {2, 3}, {-1, 1, 4, 9}));
    EXPECT_EQ(dest.At(3, 3), source.At(0, 1));
    EXPECT_EQ(dest.At(5, 5), source.At(2, 3));
    EXPECT_EQ(dest.At(2, 3), 0u);
    EXPECT_FALSE(CopyColourRect(dest, source, {6, 0}, {0, 0, 5, 4}));
}

TEST(ImageOperations, ExactAndTableMixes)
{
    TMTC image(1, 1);
    image.At(0, 0) = 0x80FFFFFF;
    image.SetWeighted(0, 0, 255, 0x00123456);
    EXPECT_EQ(image.At(0, 0), 0x80123456u);
    image.SetWeighted(0, 0, 0, 0xFF000000);
    EXPECT_EQ(image.At(0, 0), 0x80123456u);
    EXPECT_FALSE(image.SetWeighted(1, 0, 255, 0));

    TChannel channel(2, 1);
    channel.At(0, 0) = 100;
    channel.SetWeightedByTable(0, 0, 128, 200);
    EXPECT_EQ(channel.At(0, 0), 150);
    channel.At(1, 0) = 100;
    channel.SetWeighted(1, 0, 200, 128);
    EXPECT_EQ(channel.At(1, 0), 150);
    EXPECT_FALSE(channel.SetWeighted(-1, 0, 1, 1));
}

TEST(ImageOperations, TableMixStaysWithinTwoOfTheExactMix)
{
    int worst = 0;
    for (uint32_t w = 0; w < 256; ++w)
        for (uint32_t v = 0; v < 256; ++v)
            for (uint32_t p = 0; p < 256; ++p)
                worst = std::max(worst, std::abs(int(TableMix(v, p, w)) - int(ExactMix(v, p, w))));
    EXPECT_LE(worst, 2);
}

TEST(ImageOperations, ClampedReadsStayInside)
{
    TMTC image(2, 2);
    NumberPixels(image);
    EXPECT_EQ(image.ClampedAt(-5, 9), image.At(0, 1));
    uint32_t b = 0, g = 0, r = 0;
    image.ClampedAccumulate(7, -1, b, g, r);
    image.ClampedAccumulate(7, 7, b, g, r);
    EXPECT_EQ(b, 2u);
    EXPECT_EQ(g, 1u);
    EXPECT_EQ(r, 0u);
}

TEST(ImageOperations, FillsClipAndMasksSelectBits)
{
    TMTC image(3, 3);
    image.Fill(0x11223344);
    EXPECT_FALSE(image.FillRect({3, 0, 2, 2}, 0));
    EXPECT_TRUE(image.FillRect({-1, -1, 2, 2}, 0xAABBCCDD));
    EXPECT_EQ(image.At(0, 0), 0xAABBCCDDu);
    EXPECT_EQ(image.At(1, 0), 0x11223344u);
    image.SetAlphaRect({1, 1, 9, 9}, 0x80);
    EXPECT_EQ(image.At(2, 2), 0x80223344u);
    image.MaskedFill({0, 0, 3, 3}, 0x00FFFFFF, 0x12345678);
    EXPECT_EQ(image.At(2, 2), 0x80345678u);
    EXPECT_EQ(image.At(0, 0), 0xAA345678u);
    image.XorRect({0, 0, 1, 1}, 0xFFFFFFFF);
    EXPECT_EQ(image.At(0, 0), ~0xAA345678u);
    TTC display(2, 1);
    display.FillWindowsColour(0x00112233);
    EXPECT_EQ(display.At(1, 0), 0x00332211u);
}

TEST(ImageOperations, FillsOfEveryLengthAroundTheVectorWidthStopAtTheirEdges)
{
    for (int32_t left : {0, 1, 5})
        for (int32_t width : {1, 7, 8, 9, 16, 17, 31}) {
            TMTC image(40, 3);
            image.Fill(0x01020304);
            ASSERT_TRUE(image.FillRect({left, 1, width, 1}, 0xFFEEDDCC));
            for (int32_t y = 0; y < 3; ++y)
                for (int32_t x = 0; x < 40; ++x) {
                    const bool inside = y == 1 && x >= left && x < left + width;
                    ASSERT_EQ(image.At(x, y), inside ? 0xFFEEDDCCu : 0x01020304u)
                        << "from " << left << ", " << width << " wide, at " << x << "," << y;
                }
        }
}

TEST(ImageOperations, ChannelAndColourConvert)
{
    TChannel channel(3, 1);
    channel.At(0, 0) = 0;
    channel.At(1, 0) = 1;
    channel.At(2, 0) = 200;
    TMTC colour(3, 1);
    ASSERT_TRUE(ChannelToColour(colour, channel, {0, 0}, {0, 0, 3, 1}));
    EXPECT_EQ(colour.At(0, 0), 0x00000000u);
    EXPECT_EQ(colour.At(1, 0), 0xFF010101u);
    EXPECT_EQ(colour.At(2, 0), 0xFFC8C8C8u);
    colour.At(0, 0) = 0xFFFF0000;
    ASSERT_TRUE(ColourToChannel(channel, colour, {0, 0}, {0, 0, 3, 1}, StoreGrey));
    EXPECT_EQ(channel.At(0, 0), 76);
    EXPECT_EQ(channel.At(2, 0), 200);
}

TEST(ImageOperations, WeightedDrawsKeepDestinationAlpha)
{
    TMTC source(2, 1);
    source.At(0, 0) = 0xFF0000FF;
    source.At(1, 0) = 0xFF00FF00;
    TMTC dest(2, 1);
    dest.Fill(0x40000000);
    ASSERT_TRUE(DrawWithWeight(source, dest, {0, 0}, 128, {0, 0, 2, 1}));
    EXPECT_EQ(dest.At(0, 0), 0x40000080u);
    EXPECT_FALSE(DrawWithWeight(source, dest, {0, 0}, 0, {0, 0, 2, 1}));
    DrawWithWeight(source, dest, {0, 0}, 255, {0, 0, 2, 1});
    EXPECT_EQ(dest.At(1, 0), 0xFF00FF00u);

    dest.Fill(0x40000000);
    EXPECT_EQ(DrawWithWeightAndKey(dest, source, {0, 0}, 255, 0x0000FF00), 1);
    EXPECT_EQ(dest.At(0, 0), 0x400000FFu);
    EXPECT_EQ(dest.At(1, 0), 0x40000000u);
}

TEST(ImageOperations, ChannelFillsCopiesAndCombines)
{
    TChannel a(4, 4), b(4, 4);
    a.Fill(10);
    b.Fill(0);
    ASSERT_TRUE(b.FillRect({1, 1, 2, 2}, 7));
    ASSERT_TRUE(CombineChannel(a, b, {0, 0}, {0, 0, 4, 4}, [](uint8_t *d, uint8_t s) { *d = uint8_t(*d + s); }));
    EXPECT_EQ(a.At(1, 1), 17);
    EXPECT_EQ(a.At(0, 0), 10);
    ASSERT_TRUE(CopyChannelRect(a, b, {2, 2}, {1, 1, 5, 5}));
    EXPECT_EQ(a.At(3, 3), 7);
    EXPECT_EQ(a.ClampedAt(9, 9), 7);
    a.XorRect({0, 0, 1, 1}, 0xFF);
    EXPECT_EQ(a.At(0, 0), 0xF5);
}

} // namespace
} // namespace pv
