// Plain and fading lines: the 16.16 minor stepping and its weights, direction, fading
// weights, lines of no length and lines reaching outside the image.
#include "PrimitivePictures.h"

#include "raster/AntialiasedLines.h"

#include <gtest/gtest.h>

#include <limits>

namespace pv {
namespace {

using test::ColourBytePicture;
using test::Picture;

constexpr uint32_t kWhite = 0xFFFFFF;

// White drawn onto black: with the exact mix each pixel's blue byte equals its weight.
constexpr uint32_t kBlack = 0x40000000u;

const Picture kShallowLine = {{255, 139, 23, 0, 0, 0, 0, 0, 0, 0, 0},  {0, 116, 232, 162, 46, 0, 0, 0, 0, 0, 0},
                              {0, 0, 0, 93, 209, 186, 69, 0, 0, 0, 0},   {0, 0, 0, 0, 0, 69, 186, 209, 93, 0, 0},
                              {0, 0, 0, 0, 0, 0, 0, 46, 162, 232, 116}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 23, 139}};

TEST(AntialiasedLines, ShallowLineStepsShortOfItsEnd)
{
    // The minor step is 5 / 11: at x = 10 the line is at 50 / 11, row 4 with fraction 139.
    for (const bool reversed : {false, true}) {
        TMTC image(11, 6);
        image.Fill(kBlack);
        if (reversed)
            DrawLine(image, kWhite, true, 10, 5, 0, 0);
        else
            DrawLine(image, kWhite, true, 0, 0, 10, 5);
        EXPECT_EQ(ColourBytePicture(image, 0, 0, 0, 11, 6), kShallowLine) << reversed;
        EXPECT_EQ(ColourBytePicture(image, 24, 0, 0, 11, 6), Picture(6, std::vector<int>(11, 0x40)));
    }
    TMTC image(11, 6);
    image.Fill(kBlack);
    DrawLine(image, kWhite, false, 0, 0, 10, 5);
    EXPECT_EQ(ColourBytePicture(image, 0, 0, 0, 11, 6),
              (Picture{{255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0},
                       {0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0},
                       {0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0},
                       {0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0},
                       {0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255},
                       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST(AntialiasedLines, FadingLineAtFullWeightIsThePlainLine)
{
    TMTC image(11, 6);
    image.Fill(kBlack);
    DrawFadingLine(image, kWhite, true, 0, 0, 1.0, 10, 5, 1.0);
    EXPECT_EQ(ColourBytePicture(image, 0, 0, 0, 11, 6), kShallowLine);
}

TEST(AntialiasedLines, FadingLineWeights)
{
    const std::vector<int> rising = {0, 23, 46, 69, 92, 115, 139, 162, 185, 208, 231};
    for (const bool reversed : {false, true}) {
        TMTC image(11, 1);
        image.Fill(kBlack);
        if (reversed)
            DrawFadingLine(image, kWhite, false, 10, 0, 1.0, 0, 0, 0.0);
        else
            DrawFadingLine(image, kWhite, false, 0, 0, 0.0, 10, 0, 1.0);
        EXPECT_EQ(ColourBytePicture(image, 0, 0, 0, 11, 1), Picture{rising}) << reversed;
    }
}

TEST(AntialiasedLines, SteepLinesStepByDirection)
{
    struct Case {
        const char *name;
        bool fading;
        double x0, y0, x1, y1;
        int xAtRow10;
    };
    const Case cases[] = {
        {"plain, downwards", false, 0, 0, 5, 10, 4},
        {"plain, upwards", false, 5, 10, 0, 0, 4},
        {"fading, downwards: the exact step", true, 0, 0, 5, 10, 5},
        {"fading, upwards", true, 5, 10, 0, 0, 4},
    };
    for (const Case &c : cases) {
        TMTC image(8, 11);
        image.Fill(kBlack);
        if (c.fading)
            DrawFadingLine(image, kWhite, false, c.x0, c.y0, 1.0, c.x1, c.y1, 1.0);
        else
            DrawLine(image, kWhite, false, c.x0, c.y0, c.x1, c.y1);
        int x = -1;
        for (int i = 0; i < 8; ++i)
            if ((image.At(i, 10) & 0xFF) == 255)
                x = i;
        EXPECT_EQ(x, c.xAtRow10) << c.name;
    }
}

TEST(AntialiasedLines, LinesOfNoLengthSetOnePixel)
{
    TMTC image(5, 5);
    image.Fill(kBlack);
    DrawFadingLine(image, kWhite, false, 3, 3, 0.5, 3, 3, 0.5);
    DrawLine(image, kWhite, false, 1, 1, 1, 1);
    EXPECT_EQ(image.At(3, 3) & 0xFF, 127u);
    EXPECT_EQ(image.At(1, 1) & 0xFF, 255u);
    EXPECT_EQ(image.At(2, 2) & 0xFF, 0u);
}

TEST(AntialiasedLines, LinesAreCutToTheImage)
{
    TMTC image(10, 5);
    image.Fill(kBlack);
    DrawLine(image, kWhite, true, -100, 2, 100, 2);
    DrawLine(image, kWhite, true, 3, -1e9, 3, 1e9); // beyond any drawable coordinate
    DrawFadingLine(image, kWhite, true, 0, 0, 1, std::numeric_limits<double>::infinity(), 0, 1);
    Picture expected(5, std::vector<int>(10, 0));
    expected[2] = std::vector<int>(10, 255);
    EXPECT_EQ(ColourBytePicture(image, 0, 0, 0, 10, 5), expected);
}

} // namespace
} // namespace pv
