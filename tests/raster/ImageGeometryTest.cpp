// Flips and the half turn on odd sizes, in both row orders and both pixel sizes.
#include "raster/ImageGeometry.h"
#include "raster/TChannel.h"
#include "raster/TMTC.h"
#include "raster/TTC.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

template <class Image>
void Number(Image &image)
{
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.At(x, y) = uint8_t(y * 16 + x);
}

template <class Image>
class ImageGeometry : public ::testing::Test {};
using ImageKinds = ::testing::Types<TMTC, TTC, TChannel>;
TYPED_TEST_SUITE(ImageGeometry, ImageKinds);

TYPED_TEST(ImageGeometry, OddRectanglesFlipAroundTheirMiddle)
{
    // A 3 x 3 rectangle at (1, 1) of a 5 x 5 image.
    TypeParam image(5, 5);
    Number(image);
    ASSERT_TRUE(FlipVertical(image, {1, 1, 3, 3}));
    EXPECT_EQ(image.At(1, 1), 3 * 16 + 1);
    EXPECT_EQ(image.At(2, 2), 2 * 16 + 2); // the middle row stays
    EXPECT_EQ(image.At(0, 1), 1 * 16 + 0); // outside the columns
    Number(image);
    ASSERT_TRUE(FlipHorizontal(image, {1, 1, 3, 3}));
    EXPECT_EQ(image.At(1, 1), 1 * 16 + 3);
    EXPECT_EQ(image.At(2, 1), 1 * 16 + 2);
    Number(image);
    ASSERT_TRUE(Rotate180(image, {1, 1, 3, 3}));
    EXPECT_EQ(image.At(1, 1), 3 * 16 + 3);
    EXPECT_EQ(image.At(3, 3), 1 * 16 + 1);
    EXPECT_EQ(image.At(1, 2), 2 * 16 + 3); // the middle row is reversed
    EXPECT_EQ(image.At(0, 0), 0);
    EXPECT_FALSE(FlipVertical(image, {5, 0, 1, 1}));
}

TYPED_TEST(ImageGeometry, WholeImageFlipTwiceIsIdentity)
{
    TypeParam image(3, 5);
    Number(image);
    ASSERT_TRUE(FlipVertical(image));
    EXPECT_EQ(image.At(2, 0), 4 * 16 + 2);
    FlipVertical(image);
    EXPECT_EQ(image.At(2, 0), 2);
}

} // namespace
} // namespace pv
