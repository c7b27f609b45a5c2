// Quarter turns, flips and reductions of block colour images.
#include "raster/CBlockVMTC.h"

#include <gtest/gtest.h>

namespace pv {
namespace {


TEST(BlockGeometry, QuarterTurns)
{
    CBlockVMTC image(3, 2); // pixel (x, y) is 10 y + x
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.WritePixel(x, y, uint32_t(10 * y + x));
    struct Case {
        bool clockwise;
        uint32_t rows[3][2];
    } cases[] = {
        {true, {{10, 0}, {11, 1}, {12, 2}}},
        {false, {{2, 12}, {1, 11}, {0, 10}}},
    };
    for (const Case &c : cases) {
        TMTC dest;
        ASSERT_TRUE(image.Rotate90Into(dest, c.clockwise));
        ASSERT_EQ(2, dest.Width());
        ASSERT_EQ(3, dest.Height());
        CBlockVMTC block(2, 3);
        ASSERT_TRUE(image.Rotate90Into(block, {0, 0}, c.clockwise));
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 2; ++i) {
                EXPECT_EQ(c.rows[j][i], dest.At(i, j)) << c.clockwise << " " << i << "," << j;
                EXPECT_EQ(c.rows[j][i], block.Pixel(i, j)) << c.clockwise << " " << i << "," << j;
            }
    }
}

TEST(BlockGeometry, FlipsAcrossTileBordersOfOddSizes)
{
    CBlockVMTC image(37, 35);
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 37; ++x)
            image.WritePixel(x, y, uint32_t(y * 100 + x));
    CBlockVMTC h, v, r;
    h.CreateAsCopy(image);
    v.CreateAsCopy(image);
    r.CreateAsCopy(image);
    ASSERT_TRUE(h.FlipHorizontal({0, 0, 37, 35}));
    ASSERT_TRUE(v.FlipVertical({0, 0, 37, 35}));
    ASSERT_TRUE(r.Rotate180({0, 0, 37, 35}));
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 37; ++x) {
            ASSERT_EQ(image.Pixel(36 - x, y), h.Pixel(x, y));
            ASSERT_EQ(image.Pixel(x, 34 - y), v.Pixel(x, y));
            ASSERT_EQ(image.Pixel(36 - x, 34 - y), r.Pixel(x, y));
        }
}

TEST(BlockGeometry, Reductions)
{
    CBlockVMTC image(4, 4);
    image.SetEveryTile(0xFF000000);
    image.WritePixel(0, 0, 0xFF0000FF);
    image.WritePixel(1, 0, 0xFF0000FF);
    TMTC thumb(2, 2);
    ASSERT_TRUE(image.ReduceInto(thumb, {0, 0, 2, 2}, {0, 0, 4, 4}));
    // Boxes of 3 x 3 from (0, 0), (2, 0), ...: two of nine samples are blue.
    EXPECT_EQ(0xFF000000u | (2 * 255 / 9), thumb.At(0, 0));
    EXPECT_EQ(0xFF000000u, thumb.At(1, 1));
    EXPECT_FALSE(image.ReduceInto(thumb, {0, 0, 0, 2}, {0, 0, 4, 4})) << "a zero size does nothing";

    CBlockVMTC big(64, 64), half(32, 32);
    big.SetEveryTile(0x80102030);
    ASSERT_TRUE(big.ReduceInto(half));
    EXPECT_EQ(0x80102030u, half.Pixel(5, 5));
    EXPECT_EQ(0, half.AllocatedTiles()) << "compacted after the reduction";
}

} // namespace
} // namespace pv

namespace pv {
namespace {

TEST(BlockPlanes, PlanesBitsAndAlpha)
{
    CBlockVMTC image(40, 4);
    const uint8_t reds[4] = {10, 20, 30, 40};
    ASSERT_TRUE(image.WritePlaneRow(30, 1, 4, reds, 2)); // across the tile border at 32
    EXPECT_EQ(0x001EFFFFu, image.Pixel(32, 1));
    uint8_t back[4] = {};
    ASSERT_TRUE(image.ReadPlaneRow(30, 1, 4, back, 2));
    EXPECT_EQ(40, back[3]);
    EXPECT_FALSE(image.WritePlaneRow(0, 1, 4, reds, 4)) << "no fifth plane";
    EXPECT_FALSE(image.WritePlaneRow(0, 9, 4, reds, 0)) << "a row outside the image";

    const uint8_t bits[1] = {0xA0}; // 1010 0000
    ASSERT_TRUE(image.WriteBitRow(3, 2, 4, bits)); // x rounds down to 0
    EXPECT_EQ(0x00000000u, image.Pixel(0, 2));
    EXPECT_EQ(0x00FFFFFFu, image.Pixel(1, 2));
    EXPECT_EQ(0x00000000u, image.Pixel(2, 2));

    std::vector<uint8_t> alpha(40 * 4, 255);
    ASSERT_TRUE(image.SwapAlpha(alpha.data()));
    EXPECT_EQ(0, alpha[0]) << "the old alpha comes back";
    EXPECT_EQ(0xFF1EFFFFu, image.Pixel(32, 1)) << "colour kept";
    uint8_t a[2] = {};
    ASSERT_TRUE(image.ReadAlpha({39, 3, 5, 5}, a));
    EXPECT_EQ(255, a[0]);
}

} // namespace
} // namespace pv
