// Anti-aliased polygon fill: edge coverage from the two passes, repeated points, a
// self-intersecting outline under the even-odd rule, outlines too short or off the channel.
#include "PrimitivePictures.h"

#include "raster/PolygonFill.h"

#include <gtest/gtest.h>

#include <vector>

namespace pv {
namespace {

using test::ChannelPicture;
using test::Picture;

TEST(PolygonFill, SquareFillsItsPixelsWithTheRunsEndCoverage)
{
    TChannel channel(8, 8);
    channel.Fill(0);
    const std::vector<SPoint> square = {{2, 2}, {6, 2}, {6, 6}, {2, 6}, {2, 2}};
    PolygonFill(channel, square);
    EXPECT_EQ(ChannelPicture(channel, 0, 0, 8, 8), (Picture{{0, 0, 0, 0, 0, 0, 0, 0},
                                                           {0, 0, 0, 0, 0, 0, 0, 0},
                                                           {0, 0, 251, 255, 255, 255, 0, 0},
                                                           {0, 0, 255, 255, 255, 255, 0, 0},
                                                           {0, 0, 255, 255, 255, 255, 0, 0},
                                                           {0, 0, 255, 255, 255, 255, 0, 0},
                                                           {0, 0, 0, 0, 0, 0, 0, 0},
                                                           {0, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST(PolygonFill, TriangleAntiAliasesItsSlantedEdgeAndIgnoresRepeatedPoints)
{
    const Picture expected = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0},     {0, 251, 255, 255, 255, 255, 251, 123, 0, 0},
                              {0, 255, 255, 255, 255, 255, 95, 0, 0, 0}, {0, 255, 255, 255, 255, 55, 0, 0, 0, 0},
                              {0, 255, 255, 239, 23, 0, 0, 0, 0, 0},     {0, 255, 207, 0, 0, 0, 0, 0, 0, 0},
                              {0, 167, 0, 0, 0, 0, 0, 0, 0, 0},          {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
    const std::vector<std::vector<SPoint>> outlines = {
        {{1, 1}, {8, 1}, {1, 7}, {1, 1}},
        {{1, 1}, {1, 1}, {8, 1}, {8, 1}, {1, 7}, {1, 1}, {1, 1}},
    };
    for (const std::vector<SPoint> &outline : outlines) {
        TChannel channel(10, 8);
        channel.Fill(0);
        PolygonFill(channel, outline);
        EXPECT_EQ(ChannelPicture(channel, 0, 0, 10, 8), expected) << outline.size() << " points";
    }
}

TEST(PolygonFill, SelfIntersectingStarLeavesItsMiddleEmpty)
{
    TChannel channel(24, 24);
    channel.Fill(0);
    const std::vector<SPoint> star = {{12, 1}, {18, 21}, {2, 9}, {22, 9}, {6, 21}, {12, 1}};
    PolygonFill(channel, star);
    struct Probe {
        int x, y, value;
    };
    const Probe probes[] = {
        {12, 7, 255}, {5, 9, 255},  {18, 9, 255}, {8, 16, 255}, {15, 16, 255}, // the five arms
        {12, 12, 0},  {10, 11, 0},  {14, 11, 0},  {12, 14, 0},                 // crossed twice
        {1, 1, 0},    {12, 20, 0},                                             // outside
        {12, 2, 103},                                                          // the thin tip
    };
    for (const Probe &p : probes)
        EXPECT_EQ(channel.At(p.x, p.y), p.value) << p.x << ", " << p.y;
}

TEST(PolygonFill, ShortOutlinesDrawNothingAndOutlinesAreCutToTheChannel)
{
    const std::vector<std::vector<SPoint>> nothing = {
        {},
        {{3, 3}},
        {{1, 1}, {6, 1}, {1, 1}},
        {{1, 1}, {6, 1}, {6, 1}, {1, 1}},
        {{20, 20}, {30, 20}, {30, 30}, {20, 20}},
    };
    for (const std::vector<SPoint> &outline : nothing) {
        TChannel channel(8, 8);
        channel.Fill(0);
        PolygonFill(channel, outline);
        EXPECT_EQ(ChannelPicture(channel, 0, 0, 8, 8), Picture(8, std::vector<int>(8, 0))) << outline.size();
    }
    TChannel channel(4, 4);
    channel.Fill(0);
    const std::vector<SPoint> covering = {{-100, -100}, {100, -100}, {100, 100}, {-100, 100}, {-100, -100}};
    PolygonFill(channel, covering);
    // Both passes' runs start exactly on pixel 0's edge there, as the square's do at (2, 2).
    EXPECT_EQ(ChannelPicture(channel, 0, 0, 4, 4),
              (Picture{{251, 255, 255, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}, {255, 255, 255, 255}}));
}

} // namespace
} // namespace pv
