// Checkerboards, parameter lines and bevel frames.
#include "raster/DrawingAids.h"
#include "raster/TTC.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pv {
namespace {

constexpr uint32_t A = 'a', B = 'b', C = 'c';

std::vector<std::string> Picture(const TMTC &image)
{
    std::vector<std::string> rows;
    for (int y = 0; y < image.Height(); ++y) {
        std::string row;
        for (int x = 0; x < image.Width(); ++x)
            row += image.At(x, y) == 0 ? '.' : char(image.At(x, y));
        rows.push_back(row);
    }
    return rows;
}

void Store(uint32_t *pixel, uint32_t colour, int) { *pixel = colour; }

TEST(DrawingAids, CheckerboardsAnchorAtTheRectangleOrAtTheImage)
{
    TMTC image(6, 3);
    image.Fill(0);
    ASSERT_TRUE(CheckerboardAnchored(image, {1, 0, 5, 3}, 2, A, B));
    EXPECT_EQ(Picture(image), (std::vector<std::string>{".bbaab", ".bbaab", ".aabba"}));
    image.Fill(0);
    ASSERT_TRUE(CheckerboardAbsolute(image, {1, 0, 5, 3}, 2, A, B));
    EXPECT_EQ(Picture(image), (std::vector<std::string>{".baabb", ".baabb", ".abbaa"}));
    EXPECT_FALSE(CheckerboardAbsolute(image, {0, 0, 6, 3}, 0, A, B));
    EXPECT_FALSE(CheckerboardAnchored(image, {6, 0, 2, 2}, 2, A, B));
}

TEST(DrawingAids, LineRunsItsParameterAndSkipsOutsidePoints)
{
    TMTC image(5, 3);
    image.Fill(0);
    std::vector<int> parameters;
    static std::vector<int> *seen;
    seen = &parameters;
    LineWithParameter(image, -1, 0, 4, 2, [](uint32_t *p, uint32_t c, int t) { *p = c; seen->push_back(t); }, A, 0,
                      100);
    EXPECT_EQ(Picture(image), (std::vector<std::string>{"aa...", "..aa.", "....a"}));
    EXPECT_EQ(parameters, (std::vector<int>{20, 40, 60, 80, 100}));
    image.Fill(0);
    LineWithParameter(image, 2, 1, 2, 1, Store, B, 7, 9);
    EXPECT_EQ(image.At(2, 1), B);
}

TEST(DrawingAids, BevelFrameLightsTopLeftAndShadesBottomRight)
{
    TMTC image(5, 4);
    image.Fill(0);
    BevelFrame(image, {0, 0, 5, 4}, Store, A, 0, C);
    EXPECT_EQ(Picture(image), (std::vector<std::string>{"aaaac", "a...c", "a...c", "acccc"}));
    image.Fill(0);
    BevelFrame(image, {1, 1, 3, 1}, Store, A, 0, C);
    EXPECT_EQ(Picture(image)[1], ".aaa.");
}

TEST(DrawingAids, FrameRectangleOfADisplayImage)
{
    TTC image(4, 3);
    image.Fill(0);
    ASSERT_TRUE(image.FrameRect({0, 0, 4, 3}, 0x00000061)); // red 'a' in the settings' order
    EXPECT_EQ(image.At(3, 2), 0x00610000u);
    EXPECT_EQ(image.At(1, 1), 0u);
}

} // namespace
} // namespace pv
