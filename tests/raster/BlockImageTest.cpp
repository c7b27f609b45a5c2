// Block-tiled colour images: tiles appear only when written, uniform tiles read as one value,
// pieces never cross tile borders, the region list, compact and the weighted draw.
#include "raster/BlockRegionList.h"
#include "raster/CBlockVMTC.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <set>
#include <tuple>

namespace pv {
namespace {

std::tuple<int, int, int, int> Edges(const SEdgeRect &r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(BlockImage, ANewImageHasOnlyItsTileTable)
{
    CBlockVMTC image(100, 100);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(4, image.TilesAcross());
    EXPECT_EQ(4, image.TilesDown());
    EXPECT_EQ(0, image.MemoryUse());
    EXPECT_EQ(0x00FFFFFFu, image.Pixel(0, 0));
    EXPECT_EQ(0x00FFFFFFu, image.Pixel(99, 99));
    EXPECT_TRUE(image.Regions().empty());

    const size_t before = mallinfo2().uordblks;
    CBlockVMTC huge(10000, 10000);
    const size_t after = mallinfo2().uordblks;
    ASSERT_TRUE(huge.IsValid());
    EXPECT_LE(after - before, 1000000u) << "an empty 10,000 x 10,000 layer holds only its tile table";
    EXPECT_FALSE(CBlockVMTC(32768, 1).IsValid());
    EXPECT_FALSE(CBlockVMTC(-1, 1).IsValid());
}

TEST(BlockImage, WritingAllocatesExactlyTheTilesTouched)
{
    CBlockVMTC image(100, 100);
    ASSERT_TRUE(image.WritePixel(40, 70, 0xFF102030));
    EXPECT_EQ(4096, image.MemoryUse());
    EXPECT_EQ(0xFF102030u, image.Pixel(40, 70));
    EXPECT_EQ(0x00FFFFFFu, image.Pixel(41, 70)) << "the rest of the tile keeps the uniform colour";
    ASSERT_EQ(1u, image.Regions().size());
    EXPECT_EQ(Edges(SEdgeRect{32, 64, 64, 96}), Edges(image.Regions()[0]));

    CBlockVMTC filled(100, 100);
    filled.SetColour({0, 0, 100, 100}, 0x123456);
    EXPECT_EQ(0, filled.MemoryUse()) << "a whole-image fill allocates nothing";
    EXPECT_EQ(0x00123456u, filled.Pixel(50, 50));
    filled.SetAlpha({30, 30, 10, 10}, 255);
    EXPECT_EQ(4 * 4096, filled.MemoryUse()) << "a 10 x 10 fill across a tile corner allocates four tiles";
    EXPECT_EQ(0xFF123456u, filled.Pixel(35, 35));
    EXPECT_EQ(0x00123456u, filled.Pixel(29, 35));

    EXPECT_FALSE(image.WritePixel(100, 0, 0)) << "outside the image";
    EXPECT_EQ(0x00FFFFFFu, image.PixelOrDefault(-1, 5));
    EXPECT_EQ(0xFF102030u, image.ClampedPixel(40, 70));
}

TEST(BlockImage, CompactReturnsUniformTilesToTheirUniformForm)
{
    CBlockVMTC image(64, 40);
    image.WritePixel(3, 3, 0xFF000000);
    image.WritePixel(40, 3, 0xFF000000);
    image.WritePixel(40, 35, 0xFF000000);
    image.WritePixel(3, 3, 0x00FFFFFF); // tile 0 is uniform again
    // Tile 3 (bottom right, 32 x 8 valid) filled with one colour in its valid area only.
    image.MaskedFill({32, 32, 32, 8}, 0xFFFFFFFF, 0xFF00FF00);
    EXPECT_EQ(2, image.Compact()) << "tile 0 and the bottom-right tile";
    EXPECT_EQ(1, image.AllocatedTiles());
    EXPECT_EQ(0xFF00FF00u, image.Pixel(63, 39));
    EXPECT_EQ(0x00FFFFFFu, image.Pixel(3, 3));
}

TEST(BlockImage, PiecesNeverCrossATileBorder)
{
    CBlockVMTC image(100, 70);
    std::set<std::pair<int, int>> covered;
    int pieces = 0;
    image.ForEachPiece({20, 10, 60, 50}, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        ++pieces;
        const SExtent t = image.TileRect(tile);
        EXPECT_GE(piece.x, t.x);
        EXPECT_LE(piece.x + piece.width, t.x + t.width);
        EXPECT_GE(piece.y, t.y);
        EXPECT_LE(piece.y + piece.height, t.y + t.height);
        EXPECT_EQ(piece.x - t.x, lx);
        EXPECT_EQ(piece.y - t.y, ly);
        for (int y = piece.y; y < piece.y + piece.height; ++y)
            for (int x = piece.x; x < piece.x + piece.width; ++x)
                EXPECT_TRUE(covered.insert({x, y}).second) << "a pixel visited twice";
    });
    EXPECT_EQ(6, pieces) << "3 tile columns x 2 tile rows";
    EXPECT_EQ(60u * 50u, covered.size());

    // A copy between two images offset against each other cuts at both images' borders.
    CBlockVMTC other(100, 70);
    int pairs = 0;
    image.ForEachPiecePair(other, {5, 7}, {0, 0, 64, 32},
                           [&](int32_t tile, SExtent piece, int32_t, int32_t, int32_t srcTile, int32_t slx, int32_t sly) {
                               ++pairs;
                               const SExtent t = image.TileRect(tile), s = other.TileRect(srcTile);
                               EXPECT_LE(piece.x + piece.width, t.x + t.width);
                               EXPECT_LE(slx + piece.width, s.width);
                               EXPECT_LE(sly + piece.height, s.height);
                           });
    EXPECT_EQ(4 * 2, pairs) << "columns cut at 32 and 64 (destination) and 37 (source), rows at 32";
}

TEST(BlockImage, WeightedDrawDoesNotDependOnWhichTilesHaveMemory)
{
    CBlockVMTC uniform(64, 64), allocated(64, 64);
    uniform.SetEveryTile(0x80C08040);
    allocated.SetEveryTile(0x80C08040);
    allocated.WritePixel(0, 0, 0x80C08040); // same content, but the tile now has memory
    for (uint8_t weight : {0, 1, 128, 255}) {
        TMTC a(64, 64), b(64, 64);
        a.Fill(0xFF204060);
        b.Fill(0xFF204060);
        uniform.DrawInto(a, {0, 0}, weight, false, {0, 0, 64, 64});
        allocated.DrawInto(b, {0, 0}, weight, false, {0, 0, 64, 64});
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(a.At(x, y), b.At(x, y)) << "weight " << int(weight) << " at " << x << "," << y;
    }
    TMTC dest(64, 64);
    dest.Fill(0xFF000000);
    CBlockVMTC clear(64, 64);
    clear.DrawInto(dest, {0, 0}, 255, true, {0, 0, 64, 64});
    EXPECT_EQ(0xFF000000u, dest.At(10, 10)) << "transparent uniform tiles skipped";
    clear.DrawInto(dest, {0, 0});
    EXPECT_EQ(0x00FFFFFFu, dest.At(10, 10)) << "weight 255 copies exactly, alpha included";
}

TEST(BlockImage, CopiesBetweenBlockImages)
{
    CBlockVMTC source(100, 100), dest(100, 100);
    source.SetEveryTile(0xFF0000FF);
    source.WritePixel(50, 50, 0xFF00FF00);
    ASSERT_TRUE(dest.CopyFrom(source, {0, 0}, {0, 0, 100, 100}));
    EXPECT_EQ(1, dest.AllocatedTiles()) << "whole uniform tiles are copied as uniform values";
    EXPECT_EQ(0xFF00FF00u, dest.Pixel(50, 50));
    EXPECT_EQ(0xFF0000FFu, dest.Pixel(99, 0));

    CBlockVMTC shifted(100, 100);
    ASSERT_TRUE(shifted.CopyFrom(source, {3, 5}, {0, 0, 100, 100}));
    EXPECT_EQ(0xFF00FF00u, shifted.Pixel(53, 55));
    EXPECT_EQ(0xFF0000FFu, shifted.Pixel(50, 50));
    EXPECT_EQ(0x00FFFFFFu, shifted.Pixel(1, 1)) << "left of the copy";

    CBlockVMTC copy;
    ASSERT_TRUE(copy.CreateAsCopy(source));
    EXPECT_EQ(0xFF00FF00u, copy.Pixel(50, 50));
    EXPECT_EQ(1, copy.AllocatedTiles());
}

TEST(BlockImage, ChangedTilesAreTakenOnce)
{
    CBlockVMTC image(100, 100);
    image.TakeChangedTiles();
    image.WritePixel(70, 5, 0);
    image.SetColour({0, 64, 32, 32}, 0x111111);
    EXPECT_EQ((std::vector<int32_t>{2, 8}), image.TakeChangedTiles());
    EXPECT_TRUE(image.TakeChangedTiles().empty());
}

TEST(BlockRegionList, MergeRule)
{
    BlockRegionList list;
    list.Reset(1000, 1000);
    list.Add({0, 0, 32, 32});
    list.Add({32, 0, 64, 32}); // touches the first
    ASSERT_EQ(1u, list.Rects().size());
    EXPECT_EQ(Edges(SEdgeRect{0, 0, 64, 32}), Edges(list.Rects()[0]));
    list.Add({200, 0, 232, 32});
    list.Add({0, 200, 32, 232});
    list.Add({500, 500, 532, 532});
    ASSERT_EQ(4u, list.Rects().size());
    list.Add({540, 540, 560, 560}); // a fifth: into the nearest
    ASSERT_EQ(4u, list.Rects().size());
    EXPECT_EQ(Edges(SEdgeRect{500, 500, 560, 560}), Edges(list.Rects()[3]));
    list.Add({60, 0, 210, 10}); // bridges the first two: they become one
    ASSERT_EQ(3u, list.Rects().size());
    EXPECT_EQ(Edges(SEdgeRect{0, 0, 232, 32}), Edges(list.Rects()[0]));
    list.Add({2000, 2000, 2010, 2010}); // outside the image
    EXPECT_EQ(3u, list.Rects().size());
    EXPECT_EQ(0, BlockRegionList::GapDistance({0, 0, 10, 10}, {10, 10, 20, 20}));
    EXPECT_EQ(25, BlockRegionList::GapDistance({0, 0, 10, 10}, {13, 14, 20, 20}));
}

} // namespace
} // namespace pv
