// Box and 16-sample reductions: the boxes and their edge repeats, alpha handling, either
// row order of the source, the rectangle form, and reductions to or from nothing.
#include "PrimitivePictures.h"

#include "raster/BoxReduce.h"
#include "raster/PixelMath.h"
#include "raster/TTC.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

using test::ColourBytePicture;
using test::Picture;

constexpr int kBlue = 0, kRed = 16, kAlpha = 24;

// Blue = x xStep + y yStep, red 7, alpha 255 - blue.
void Paint(TMTC &image, int xStep, int yStep)
{
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint32_t blue = uint32_t(x * xStep + y * yStep);
            image.At(x, y) = MakeColour(7, 0, blue, 255 - blue);
        }
}

Picture Uniform(const TMTC &image, int value)
{
    return Picture(size_t(image.Height()), std::vector<int>(size_t(image.Width()), value));
}

TEST(BoxReduce, BoxesRepeatTheLastColumnAndRowAndKeepAlpha)
{
    struct Case {
        int sw, sh, dw, dh;
        Picture blue;
    };
    const Case cases[] = {
        // By exactly 2: 3 x 3 boxes; the right and bottom ones repeat column 3 and row 3.
        {4, 4, 2, 2, {{60, 76}, {143, 160}}},
        {5, 3, 2, 2, {{35, 55}, {85, 105}}},
        {3, 3, 4, 4, {{0, 0, 10, 20}, {0, 0, 10, 20}, {50, 50, 60, 70}, {100, 100, 110, 120}}},
    };
    for (const Case &c : cases) {
        for (const bool bottomUp : {false, true}) {
            TTC display(c.sw, c.sh);
            TMTC memory(c.sw, c.sh);
            TMTC &source = bottomUp ? static_cast<TMTC &>(display) : memory;
            Paint(source, 10, 50);
            TMTC dest(c.dw, c.dh);
            dest.Fill(0x33000000u);
            ASSERT_TRUE(ReduceBox(source, dest));
            EXPECT_EQ(ColourBytePicture(dest, kBlue, 0, 0, c.dw, c.dh), c.blue) << c.sw << " x " << c.sh;
            EXPECT_EQ(ColourBytePicture(dest, kRed, 0, 0, c.dw, c.dh), Uniform(dest, 7));
            EXPECT_EQ(ColourBytePicture(dest, kAlpha, 0, 0, c.dw, c.dh), Uniform(dest, 0x33));
        }
    }
}

TEST(BoxReduce, RectangleFormComputesOnlyItsClippedPixels)
{
    TMTC source(4, 4);
    Paint(source, 10, 50);
    TMTC dest(2, 2);
    dest.Fill(0);
    ASSERT_TRUE(ReduceBox(source, dest, {1, 0, 5, 1}));
    EXPECT_EQ(ColourBytePicture(dest, kBlue, 0, 0, 2, 2), (Picture{{0, 76}, {0, 0}}));
    EXPECT_FALSE(ReduceBox(source, dest, {2, 0, 1, 1}));
}

TEST(BoxReduce, SixteenSamplesAverageAllFourBytes)
{
    struct Case {
        int sw, sh, xStep, yStep;
        Picture blue, alpha;
    };
    const Case cases[] = {
        {8, 8, 10, 20, {{45, 85}, {125, 165}}, {{210, 170}, {130, 90}}},
        // Samples at 1.5-pixel steps, 0.375 apart: columns 0, 0, 0, 1 and 1, 1, 2, 2.
        {3, 3, 10, 50, {{15, 27}, {77, 90}}, {{240, 227}, {177, 165}}},
    };
    for (const Case &c : cases) {
        TMTC source(c.sw, c.sh);
        Paint(source, c.xStep, c.yStep);
        TMTC dest(2, 2);
        dest.Fill(0);
        ASSERT_TRUE(ReduceBy16Samples(source, dest));
        EXPECT_EQ(ColourBytePicture(dest, kBlue, 0, 0, 2, 2), c.blue) << c.sw;
        EXPECT_EQ(ColourBytePicture(dest, kAlpha, 0, 0, 2, 2), c.alpha) << c.sw;
        EXPECT_EQ(ColourBytePicture(dest, kRed, 0, 0, 2, 2), Uniform(dest, 7)) << c.sw;
    }
}

TEST(BoxReduce, ReductionsToOrFromNothingDoNothing)
{
    TMTC source(4, 4), empty, dest(2, 2);
    TTC zeroWide;
    Paint(source, 10, 50);
    dest.Fill(0x12345678u);
    EXPECT_FALSE(ReduceBox(source, empty));
    EXPECT_FALSE(ReduceBy16Samples(source, empty));
    EXPECT_FALSE(ReduceBox(empty, dest));
    EXPECT_FALSE(ReduceBy16Samples(empty, dest));
    EXPECT_FALSE(ReduceBox(zeroWide, dest));
    EXPECT_EQ(dest.At(1, 1), 0x12345678u);
}

} // namespace
} // namespace pv
