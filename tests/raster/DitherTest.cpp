// The random generator record and dithered composing.
#include "raster/Dither.h"
#include "raster/ImageDrivers.h"
#include "raster/SLayerParam.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TEST(RandomRecord, DrawsAreRepeatableAndBelowTheHighBound)
{
    SRandomRecord a = SeededRandomRecord(1), b = SeededRandomRecord(1);
    EXPECT_EQ(Draw(a), 8u); // 255 x 0x08088406 >> 32
    Draw(b);
    uint32_t highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const uint32_t v = Draw(a);
        ASSERT_EQ(v, Draw(b));
        highest = std::max(highest, v);
    }
    EXPECT_EQ(highest, 254u);
    EXPECT_EQ(a.count, 100001u);
    SRandomRecord bounded = SeededRandomRecord(7, 10, 20);
    for (int i = 0; i < 1000; ++i) {
        const uint32_t v = Draw(bounded);
        ASSERT_GE(v, 10u);
        ASSERT_LT(v, 20u);
    }
}

class DitherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        source.Fill(0xFF0000FF);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                source.At(x, y) = (uint32_t(16 * y + x) << 24) | 0x0000FF;
    }
    TMTC source{16, 16};
};

TEST_F(DitherTest, APartialRecomposeGivesThePixelsOfAFullOne)
{
    InstallDither(LayerParam(3).compose, SeededRandomRecord(12345), 180);
    TMTC full(16, 16), partial(16, 16);
    full.Fill(0xFFFFFFFF);
    partial.Fill(0xFFFFFFFF);
    ASSERT_TRUE(ComposeDithered(source, full, {0, 0}, 255, {0, 0, 16, 16}));
    // Rebuild the view in pieces, in another order, as a stroke does.
    ComposeDithered(source, partial, {5, 3}, 255, {5, 3, 7, 9});
    ComposeDithered(source, partial, {0, 0}, 255, {0, 0, 16, 3});
    ComposeDithered(source, partial, {0, 3}, 255, {0, 3, 5, 13});
    ComposeDithered(source, partial, {12, 3}, 255, {12, 3, 4, 13});
    ComposeDithered(source, partial, {5, 12}, 255, {5, 12, 7, 4});
    int composed = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(partial.At(x, y), full.At(x, y)) << x << "," << y;
            composed += full.At(x, y) != 0xFFFFFFFFu;
        }
    EXPECT_GT(composed, 20);
    EXPECT_LT(composed, 200);

    // The generic driver with the dither routine gives the same pixels.
    TMTC driven(16, 16);
    driven.Fill(0xFFFFFFFF);
    ASSERT_TRUE(DrawWithOperator(source, driven, {0, 0}, DitherCompose, 255));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(driven.At(x, y), full.At(x, y)) << x << "," << y;
}

TEST_F(DitherTest, FullAmountOverAnOpaqueSourceAlwaysComposes)
{
    InstallDither(LayerParam(3).compose, FreshDitherRecord(), 255);
    for (int i = 0; i < 1000; ++i) {
        uint32_t pixel = 0xFFFFFFFF;
        SetDitherPosition(i, -i);
        DitherCompose(&pixel, 0xFF000000, 255);
        ASSERT_EQ(pixel, 0xFF000000u);
    }
    InstallDither(LayerParam(3).compose, FreshDitherRecord(), 0);
    uint32_t pixel = 0xFFFFFFFF;
    DitherCompose(&pixel, 0xFF000000, 255);
    EXPECT_EQ(pixel, 0xFFFFFFFFu);
}

} // namespace
} // namespace pv
