// Resize rules of each image class, row orders and the size limits.
#include "raster/TChannel.h"
#include "raster/TMTC.h"
#include "raster/TTC.h"
#include "raster/TVMTC.h"

#include <gtest/gtest.h>

#include <vector>

namespace pv {
namespace {

TEST(ImageLifecycle, RowOrdersFollowEachClass)
{
    TChannel channel(3, 2);
    TMTC colour(3, 2);
    TTC display(3, 2);
    EXPECT_EQ(channel.RowOffsets()[0], 3);
    EXPECT_EQ(channel.RowOffsets()[1], 0);
    EXPECT_EQ(colour.RowOffsets()[1], 12);
    EXPECT_EQ(display.RowOffsets()[0], 12);
    EXPECT_EQ(display.RowOffsets()[1], 0);
    EXPECT_FALSE(channel.IsTopDown());
    EXPECT_TRUE(colour.IsTopDown());
    EXPECT_FALSE(display.IsTopDown());
    EXPECT_EQ(display.PixelAddress(2, 1), display.Pixels() + 8);
}

TEST(ImageLifecycle, TmtcKeepsItsBytesWhenTheByteSizeStaysTheSame)
{
    TMTC image(4, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            image.At(x, y) = uint32_t(y * 4 + x);
    const uint8_t *block = image.Pixels();
    ASSERT_TRUE(image.Resize(6, 4));
    EXPECT_EQ(image.Pixels(), block);
    EXPECT_EQ(image.At(5, 3), 23u);
    EXPECT_EQ(image.Width(), 6);
}

TEST(ImageLifecycle, TtcRaisesZeroSidesToOne)
{
    TTC fresh;
    EXPECT_TRUE(fresh.Resize(0, 0));
    EXPECT_FALSE(fresh.IsValid());
    TTC image(3, 3);
    ASSERT_TRUE(image.Resize(0, 5));
    EXPECT_EQ(image.Width(), 1);
    EXPECT_EQ(image.Height(), 5);
    EXPECT_TRUE(image.IsValid());
}

TEST(ImageLifecycle, RefusedSizesLeaveAnEmptyImageThatDoesNotClaimSuccessLater)
{
    struct Case {
        int32_t width, height;
    };
    for (const Case c : {Case{-1, 4}, Case{4, -1}, Case{32768, 1}, Case{1, 40000}}) {
        TMTC colour(2, 2);
        TChannel channel(2, 2);
        TTC display(2, 2);
        EXPECT_FALSE(colour.Resize(c.width, c.height));
        EXPECT_FALSE(channel.Resize(c.width, c.height));
        EXPECT_FALSE(display.Resize(c.width, c.height));
        EXPECT_FALSE(colour.IsValid());
        EXPECT_FALSE(channel.IsValid());
        EXPECT_FALSE(display.IsValid());
        // The failed size must not count as "already that size" afterwards.
        if (c.width > 0 && c.height > 0) {
            EXPECT_FALSE(display.Resize(c.width, c.height));
        }
    }
}

TEST(ImageLifecycle, ZeroAreaImagesAreEmpty)
{
    TMTC colour;
    EXPECT_TRUE(colour.Resize(0, 7));
    EXPECT_FALSE(colour.IsValid());
    EXPECT_EQ(colour.ByteSize(), 0);
    TChannel channel;
    EXPECT_TRUE(channel.Resize(5, 0));
    EXPECT_FALSE(channel.IsValid());
    colour.Fill(1);
    channel.Fill(1);
}

TEST(ImageLifecycle, ViewsPresentForeignMemoryAndNeverResize)
{
    std::vector<uint32_t> tile(4 * 2, 7u);
    const ptrdiff_t rows[2] = {0, 16};
    {
        TVMTC view;
        view.Show(tile.data(), rows, 4, 2);
        EXPECT_TRUE(view.IsValid());
        EXPECT_FALSE(view.Resize(8, 8));
        view.At(3, 1) = 9;
        EXPECT_EQ(view.ByteSize(), 32);
    }
    EXPECT_EQ(tile[7], 9u);
    std::vector<uint8_t> cells(4 * 2, 0);
    TVChannel channelView;
    channelView.Show(cells.data(), (const ptrdiff_t[]){0, 4}, 4, 2);
    channelView.At(1, 1) = 5;
    EXPECT_EQ(cells[5], 5);
    EXPECT_TRUE(channelView.IsTopDown());
    channelView.Clear();
    EXPECT_FALSE(channelView.IsValid());
}

TEST(ImageLifecycle, ConstructionFromABufferCopiesAndMakesOpaque)
{
    const uint32_t pixels[] = {0x00112233, 0x10445566, 0xDEADBEEF, 0x20778899, 0x7F000000, 0xFF000001};
    // Rows are 12 bytes apart; only the first two pixels of each row belong to the picture.
    TMTC image(pixels, 2, 2, 12);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.At(0, 0), 0xFF112233u);
    EXPECT_EQ(image.At(1, 0), 0xFF445566u);
    EXPECT_EQ(image.At(0, 1), 0xFF778899u);
    EXPECT_EQ(image.At(1, 1), 0xFF000000u);
}

} // namespace
} // namespace pv
