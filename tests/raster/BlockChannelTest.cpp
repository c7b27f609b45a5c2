// Block-tiled 8-bit images: uniform tiles, fills, growing and shrinking, masks from colour.
#include "raster/CBlockVCH.h"
#include "raster/CBlockVMTC.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pv {
namespace {

TEST(BlockChannel, TilesAppearOnlyWhenWritten)
{
    EXPECT_FALSE(CBlockVCH(0, 10).IsValid());
    CBlockVCH mask(200, 100);
    ASSERT_TRUE(mask.IsValid());
    EXPECT_EQ(4, mask.TilesAcross());
    EXPECT_EQ(2, mask.TilesDown());
    EXPECT_EQ(0, mask.Value(150, 50));
    EXPECT_EQ(0, mask.ValueOrZero(-1, 0));
    ASSERT_TRUE(mask.WriteValue(150, 50, 9));
    EXPECT_EQ(4096, mask.MemoryUse());
    mask.FillRect({0, 0, 200, 100}, 255);
    EXPECT_EQ(1, mask.AllocatedTiles()) << "the written tile stays allocated until compacted";
    EXPECT_EQ(1, mask.Compact());
    EXPECT_EQ(0, mask.AllocatedTiles());
    EXPECT_EQ(255, mask.Value(150, 50));

    CBlockVCH outside(100, 100);
    outside.FillOutside({10, 20, 30, 40}, 7);
    EXPECT_EQ(7, outside.Value(5, 30));
    EXPECT_EQ(7, outside.Value(45, 30));
    EXPECT_EQ(7, outside.Value(20, 10));
    EXPECT_EQ(7, outside.Value(20, 70));
    EXPECT_EQ(0, outside.Value(20, 30));
    outside.Xor(0xFF);
    EXPECT_EQ(0xFF, outside.Value(20, 30));
}

TEST(BlockChannel, GrowingReachesPastAFullTile)
{
    CBlockVCH mask(128, 128), grown(128, 128), shrunk(128, 128);
    mask.FillRect({0, 0, 64, 64}, 255); // exactly tile 0, uniform
    ASSERT_TRUE(mask.GrowInto(grown));
    EXPECT_EQ(255, grown.Value(64, 10)) << "one pixel beyond the tile";
    EXPECT_EQ(255, grown.Value(64, 64));
    EXPECT_EQ(0, grown.Value(65, 10));
    ASSERT_TRUE(mask.ShrinkInto(shrunk));
    EXPECT_EQ(255, shrunk.Value(62, 62));
    EXPECT_EQ(0, shrunk.Value(63, 10)) << "the right edge shrinks";
    EXPECT_EQ(255, shrunk.Value(0, 0)) << "reads are clamped at the image border";

    CBlockVCH empty(128, 128), out(128, 128);
    EXPECT_FALSE(empty.GrowInto(out)) << "growing an empty mask does nothing";
    EXPECT_EQ(0, out.AllocatedTiles());
}

TEST(BlockChannel, CopiesRowsAndMasksFromColour)
{
    CBlockVCH mask(100, 70);
    const uint8_t row[5] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(mask.WriteRow(62, 3, 5, row)); // across a tile border
    uint8_t back[5] = {};
    ASSERT_TRUE(mask.ReadRow(62, 3, 5, back));
    EXPECT_EQ(0, std::memcmp(row, back, 5));

    TChannel plain(100, 70);
    plain.Fill(0);
    ASSERT_TRUE(mask.ReadInto(plain, {0, 0}, {0, 0, 100, 70}));
    EXPECT_EQ(3, plain.At(64, 3));
    CBlockVCH copy(100, 70);
    ASSERT_TRUE(copy.WriteFrom(plain, {0, 0}, {0, 0, 100, 70}));
    EXPECT_EQ(5, copy.Value(66, 3));
    CBlockVCH shifted(100, 70);
    ASSERT_TRUE(shifted.CopyFrom(mask, {1, 1}, {0, 0, 100, 70}));
    EXPECT_EQ(5, shifted.Value(67, 4));

    CBlockVMTC colour(10, 10);
    colour.SetEveryTile(0x80FFFFFF); // white, half alpha
    colour.WritePixel(1, 1, 0xFF000000);
    CBlockVCH bright(10, 10), dark(10, 10), alpha(10, 10);
    ASSERT_TRUE(bright.FromColour(colour, false));
    ASSERT_TRUE(dark.FromColour(colour, true));
    ASSERT_TRUE(alpha.FromAlpha(colour));
    EXPECT_EQ(128, bright.Value(5, 5));
    EXPECT_EQ(0, bright.Value(1, 1));
    EXPECT_EQ(255, dark.Value(1, 1));
    EXPECT_EQ(0x80, alpha.Value(5, 5));

    TTC grey(5, 5);
    ASSERT_TRUE(bright.ReduceInto(grey, {0, 0, 5, 5}, {0, 0, 10, 10}));
    EXPECT_EQ(0u, grey.At(4, 4) >> 24) << "alpha 0";
    EXPECT_EQ(grey.At(4, 4) & 0xFF, (grey.At(4, 4) >> 16) & 0xFF);
}

} // namespace
} // namespace pv
