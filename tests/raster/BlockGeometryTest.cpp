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
