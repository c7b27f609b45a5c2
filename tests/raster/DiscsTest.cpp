// Channel, soft channel and colour discs, the pixel writers they go through, and the disc
// grid.
#include "PrimitivePictures.h"

#include "raster/Discs.h"
#include "raster/PixelWriters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <utility>

namespace pv {
namespace {

using test::ChannelPicture;
using test::Picture;

// Every writer call as (x, y) -> weight; the last call wins.
std::map<std::pair<int, int>, int> gWrites;

void RecordChannelWrite(TChannel &, int32_t x, int32_t y, uint8_t weight, uint8_t)
{
    gWrites[{x, y}] = weight;
}

void RecordColourWrite(TMTC &, int32_t x, int32_t y, uint8_t weight, uint32_t)
{
    gWrites[{x, y}] = weight;
}

// The writers are process-wide: every test leaves the exact ones installed.
class DiscsTest : public ::testing::Test {
protected:
    void SetUp() override { gWrites.clear(); }
    void TearDown() override { SetPixelWriters(nullptr, nullptr); }

    static void Record() { SetPixelWriters(RecordChannelWrite, RecordColourWrite); }

    // The recorded weights of a rectangle, -1 where nothing was written.
    static Picture Recorded(int x, int y, int width, int height)
    {
        Picture rows(static_cast<size_t>(height), std::vector<int>(static_cast<size_t>(width), -1));
        for (const auto &[at, weight] : gWrites) {
            const int i = at.first - x, j = at.second - y;
            if (i >= 0 && j >= 0 && i < width && j < height)
                rows[size_t(j)][size_t(i)] = weight;
        }
        return rows;
    }
};

TEST_F(DiscsTest, SmallChannelDiscSubSamplesEveryPixelOfItsBox)
{
    TChannel channel(20, 20);
    channel.Fill(0);
    Record();
    ChannelDisc(channel, 255, false, 1.0, 2.0, 10.5, 10.5);
    EXPECT_EQ(gWrites.size(), 25u); // the box trunc(8.5)..trunc(12.5), corners not consulted
    EXPECT_EQ(Recorded(8, 8, 5, 5), (Picture{{0, 51, 102, 51, 0},
                                             {51, 255, 255, 255, 51},
                                             {102, 255, 255, 255, 102},
                                             {51, 255, 255, 255, 51},
                                             {0, 51, 102, 51, 0}}));
}

TEST_F(DiscsTest, LargerChannelDiscSkipsPixelsWithEveryCornerOutside)
{
    TChannel channel(20, 20);
    channel.Fill(0);
    ChannelDisc(channel, 255, false, 1.0, 4.5, 10.3, 10.7);
    EXPECT_EQ(ChannelPicture(channel, 5, 6, 10, 10), (Picture{{0, 0, 0, 81, 153, 153, 132, 40, 0, 0},
                                                             {0, 0, 173, 255, 255, 255, 255, 244, 81, 0},
                                                             {0, 132, 255, 255, 255, 255, 255, 255, 244, 40},
                                                             {0, 234, 255, 255, 255, 255, 255, 255, 255, 132},
                                                             {0, 255, 255, 255, 255, 255, 255, 255, 255, 153},
                                                             {0, 255, 255, 255, 255, 255, 255, 255, 255, 153},
                                                             {0, 183, 255, 255, 255, 255, 255, 255, 255, 81},
                                                             {0, 30, 244, 255, 255, 255, 255, 255, 173, 0},
                                                             {0, 0, 30, 183, 255, 255, 234, 132, 0, 0},
                                                             {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
    Record();
    ChannelDisc(channel, 255, false, 1.0, 4.5, 10.3, 10.7);
    EXPECT_FALSE(gWrites.count({6, 6})); // inside the box, every corner outside
    EXPECT_TRUE(gWrites.count({7, 6}));
}

TEST_F(DiscsTest, ChannelDiscWeightsAndKeepTheLarger)
{
    struct Case {
        const char *name;
        uint8_t value;
        bool keep;
        double opacity;
        uint8_t before;
        int centre; // pixel (10, 10), inside
        int edge;   // pixel (9, 8), 5 of 25 sub-samples
        int corner; // pixel (8, 8), none
    };
    const Case cases[] = {
        {"plain mix", 255, false, 1.0, 0, 255, 51, 0},
        {"half opacity", 255, false, 0.5, 0, 127, 25, 0},
        {"mix over a grey", 0, false, 1.0, 200, 0, 160, 200},
        {"keep raises", 255, true, 1.0, 100, 255, 100, 100},
        {"keep never lowers", 50, true, 1.0, 100, 100, 100, 100},
        // The rim scales the same value as the inside: 100 * 5 / 25.
        {"keep a low value", 100, true, 1.0, 0, 100, 20, 0},
        {"opacity above 1 is full", 255, false, 7.0, 0, 255, 51, 0},
    };
    for (const Case &c : cases) {
        TChannel channel(20, 20);
        channel.Fill(c.before);
        ChannelDisc(channel, c.value, c.keep, c.opacity, 2.0, 10.5, 10.5);
        EXPECT_EQ(channel.At(10, 10), c.centre) << c.name;
        EXPECT_EQ(channel.At(9, 8), c.edge) << c.name;
        EXPECT_EQ(channel.At(8, 8), c.corner) << c.name;
    }
}

TEST_F(DiscsTest, TinyChannelDiscStillCoversItsCentreSample)
{
    TChannel channel(20, 20);
    channel.Fill(0);
    ChannelDisc(channel, 255, false, 1.0, 0.3, 10.5, 10.5);
    EXPECT_EQ(ChannelPicture(channel, 9, 9, 3, 3), (Picture{{0, 0, 0}, {0, 10, 0}, {0, 0, 0}}));
}

TEST_F(DiscsTest, SoftChannelDiscFallsOffFromTheCentre)
{
    TChannel channel(20, 20);
    channel.Fill(0);
    SoftChannelDisc(channel, 255, true, 1.0, 4.0, 10.5, 10.5);
    EXPECT_EQ(ChannelPicture(channel, 6, 6, 9, 9), (Picture{{0, 0, 0, 0, 0, 0, 0, 0, 0},
                                                           {0, 0, 0, 39, 68, 65, 26, 0, 0},
                                                           {0, 0, 71, 131, 160, 157, 122, 49, 0},
                                                           {0, 39, 131, 192, 221, 218, 182, 116, 6},
                                                           {0, 68, 160, 221, 249, 246, 211, 144, 18},
                                                           {0, 65, 157, 218, 246, 243, 208, 141, 15},
                                                           {0, 26, 122, 182, 211, 208, 173, 93, 0},
                                                           {0, 0, 49, 116, 144, 141, 93, 9, 0},
                                                           {0, 0, 0, 6, 18, 15, 0, 0, 0}}));
}

TEST_F(DiscsTest, HardSoftChannelDiscMatchesTheKeepingDiscAndIgnoresTheWriter)
{
    TChannel soft(20, 20), keeping(20, 20);
    soft.Fill(40);
    keeping.Fill(40);
    Record();
    SoftChannelDisc(soft, 200, false, 0.75, 4.5, 10.3, 10.7);
    EXPECT_TRUE(gWrites.empty());
    SetPixelWriters(nullptr, nullptr);
    ChannelDisc(keeping, 200, true, 0.75, 4.5, 10.3, 10.7);
    EXPECT_EQ(ChannelPicture(soft, 0, 0, 20, 20), ChannelPicture(keeping, 0, 0, 20, 20));
    EXPECT_EQ(soft.At(10, 10), 150);
}

TEST_F(DiscsTest, ColourDiscWeightsThroughTheWriter)
{
    TMTC image(20, 20);
    image.Fill(0);
    Record();
    ColourDiscThroughWriter(image, 0xFFFFFF, false, 1.0, 2.0, 10.5, 10.5);
    EXPECT_EQ(Recorded(8, 8, 5, 5), (Picture{{-1, 15, 63, 31, -1},
                                             {15, 239, 255, 255, 63},
                                             {63, 255, 255, 255, 127},
                                             {31, 255, 255, 255, 95},
                                             {-1, 63, 127, 95, -1}}));
    gWrites.clear();
    ColourDiscThroughWriter(image, 0xFFFFFF, true, 1.0, 3.5, 10.5, 10.5);
    EXPECT_EQ(Recorded(7, 7, 7, 7), (Picture{{-1, 0, 0, 0, 0, 0, -1},
                                             {0, 0, 78, 119, 119, 78, 0},
                                             {0, 78, 161, 202, 202, 161, 73},
                                             {0, 119, 202, 244, 244, 202, 119},
                                             {0, 119, 202, 244, 244, 202, 119},
                                             {0, 78, 161, 202, 202, 161, 44},
                                             {-1, 0, 73, 119, 119, 44, -1}}));
    gWrites.clear();
    ColourDiscThroughWriter(image, 0xFFFFFF, true, 1.0, 2.0, 10.5, 10.5); // no falloff below radius 3
    EXPECT_EQ(gWrites.at({10, 10}), 255);
}

TEST_F(DiscsTest, ColourDiscMixesByTheTableAndKeepsAlpha)
{
    TMTC image(20, 20);
    image.Fill(0x80000000u);
    ColourDisc(image, 0x00FF4000u, false, 1.0, 2.0, 10.5, 10.5);
    EXPECT_EQ(image.At(10, 10), 0x80FF4000u); // weight 255 stores the colour
    EXPECT_EQ(image.At(12, 10), 0x807E1F00u); // weight 127: red 0 + trunc(127 x 127 x 2 / 255)
    EXPECT_EQ(image.At(8, 8), 0x80000000u);   // no corner inside
}

TEST_F(DiscsTest, DiscsThatHoldNoSampleOrLieOutsideDrawNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char *name;
        double radius, x, y;
    };
    const Case cases[] = {
        {"colour disc smaller than a pixel", 0.3, 10.5, 10.5},
        {"zero radius", 0.0, 10.5, 10.5},
        {"negative radius", -4.0, 10.5, 10.5},
        {"off the image", 3.0, -20.0, 5.0},
        {"not a number", 3.0, nan, 5.0},
        {"infinite radius", inf, 5.0, 5.0},
    };
    for (const Case &c : cases) {
        TMTC image(20, 20);
        image.Fill(0);
        TChannel channel(20, 20);
        channel.Fill(0);
        Record();
        ColourDiscThroughWriter(image, 0xFFFFFF, false, 1.0, c.radius, c.x, c.y);
        ColourDisc(image, 0xFFFFFF, false, 1.0, c.radius, c.x, c.y);
        if (c.radius != 0.3) {
            ChannelDisc(channel, 255, false, 1.0, c.radius, c.x, c.y);
            SoftChannelDisc(channel, 255, false, 1.0, c.radius, c.x, c.y);
        }
        EXPECT_TRUE(gWrites.empty()) << c.name;
        EXPECT_EQ(ChannelPicture(channel, 0, 0, 20, 20), Picture(20, std::vector<int>(20, 0))) << c.name;
    }
}

TEST_F(DiscsTest, DiscGridStepsUpToItsClampedLimits)
{
    struct Case {
        const char *name;
        double xStep, xLimit;
        std::vector<int> row2;
    };
    const std::vector<int> four = {0, 173, 224, 0, 0, 173, 224, 0, 0, 173, 224, 0, 0, 173, 224, 0};
    const std::vector<int> one = {0, 173, 224, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<int> none(16, 0);
    const Case cases[] = {
        {"limit beyond the width", 4, 100, four},
        {"limit below 2 is raised to 2", 4, -5, one},
        {"zero step", 0, 100, none},
        {"negative step", -4, 100, none},
        {"step that cannot move", 1e-300, 100, none},
        {"step that is not a number", std::numeric_limits<double>::quiet_NaN(), 100, none},
    };
    for (const Case &c : cases) {
        TChannel channel(16, 4);
        channel.Fill(0);
        DiscGrid(channel, 1.0, c.xStep, 100, c.xLimit, 2, 2, 2);
        EXPECT_EQ(ChannelPicture(channel, 0, 2, 16, 1), Picture{c.row2}) << c.name;
    }
    TChannel channel(16, 4);
    channel.Fill(0);
    DiscGrid(channel, 1.0, 4, 0, 100, 100, 2, 2);
    EXPECT_EQ(ChannelPicture(channel, 0, 0, 16, 4), Picture(4, std::vector<int>(16, 0)));
}

// The corner and sub-sample rules pixel by pixel with squared distances, the plain way: the
// discs measure whole rows at a time and must give the same pixels.
struct SPlainDisc {
    int units;
    int64_t radius2, cx, cy;

    SPlainDisc(int u, double radius, double x, double y)
        : units(u), radius2(int64_t(u * radius) * int64_t(u * radius)), cx(int64_t(u * x)), cy(int64_t(u * y))
    {
    }
    bool Inside(int64_t dx, int64_t dy) const { return dx * dx + dy * dy < radius2; }
    int Corners(int i, int j) const
    {
        const int64_t dx = units * i - cx, dy = units * j - cy;
        return int(Inside(dx, dy)) + int(Inside(dx + units, dy)) + int(Inside(dx, dy + units)) +
               int(Inside(dx + units, dy + units));
    }
    int Samples(int i, int j) const
    {
        int n = 0;
        for (int t = 0; t < units; ++t)
            for (int s = 0; s < units; ++s)
                n += int(Inside(units * i - cx + s, units * j - cy + t));
        return n;
    }
};

TEST_F(DiscsTest, RowMeasuredDiscsMatchThePlainRules)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> position(-6.0, 46.0), size(0.1, 30.0);
    for (int k = 0; k < 300; ++k) {
        const double radius = size(random), x = position(random), y = position(random);
        TChannel channel(40, 40);
        channel.Fill(0);
        ChannelDisc(channel, 255, false, 1.0, radius, x, y);
        TMTC image(40, 40);
        image.Fill(0);
        Record();
        ColourDiscThroughWriter(image, 0xFFFFFF, false, 1.0, radius, x, y);
        SetPixelWriters(nullptr, nullptr);
        const SPlainDisc fifths(5, radius, x, y), quarters(4, radius, x, y);
        for (int j = 0; j < 40; ++j)
            for (int i = 0; i < 40; ++i) {
                const int corners = fifths.Corners(i, j);
                const int expected = radius > 3 && corners == 0 ? 0 : radius > 3 && corners == 4 ? 255
                                                                                                : 255 * fifths.Samples(i, j) / 25;
                ASSERT_EQ(channel.At(i, j), expected) << radius << " at " << x << ", " << y << ": " << i << ", " << j;
                const int colourCorners = quarters.Corners(i, j);
                const auto written = gWrites.find({i, j});
                const int weight = written == gWrites.end() ? -1 : written->second;
                const int colourExpected = colourCorners == 0 ? -1 : colourCorners == 4 ? 255
                                                                                         : 255 * quarters.Samples(i, j) / 16;
                ASSERT_EQ(weight, colourExpected) << radius << " at " << x << ", " << y << ": " << i << ", " << j;
            }
        gWrites.clear();
    }
}

TEST_F(DiscsTest, HugeDiscsVisitOnlyTheImage)
{
    TChannel channel(16, 16);
    channel.Fill(0);
    ChannelDisc(channel, 255, false, 1.0, 1e7, 8, 8);
    SoftChannelDisc(channel, 200, true, 1.0, 1e7, 8, 8);
    EXPECT_EQ(ChannelPicture(channel, 0, 0, 16, 16), Picture(16, std::vector<int>(16, 255)));
    TMTC image(16, 16);
    image.Fill(0);
    ColourDisc(image, 0xFFFFFF, false, 1.0, 1.6e7, 8 - 1.6e7, 8); // the rim runs down x = 8
    EXPECT_EQ(image.At(0, 8), 0x00FFFFFFu);
    EXPECT_EQ(image.At(9, 8), 0u);
}

} // namespace
} // namespace pv
