// Bounding box, edge marking and the outline ring of a channel.
#include "raster/TChannel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pv {
namespace {

// Rows of '.' (0), '#' (1) and other characters (their code), top row first.
std::unique_ptr<TChannel> FromPicture(const std::vector<std::string> &rows)
{
    auto channel = std::make_unique<TChannel>(int32_t(rows[0].size()), int32_t(rows.size()));
    for (int y = 0; y < channel->Height(); ++y)
        for (int x = 0; x < channel->Width(); ++x)
            channel->At(x, y) = rows[y][x] == '.' ? 0 : rows[y][x] == '#' ? 1 : uint8_t(rows[y][x]);
    return channel;
}

std::vector<std::string> ToPicture(const TChannel &channel)
{
    std::vector<std::string> rows;
    for (int y = 0; y < channel.Height(); ++y) {
        std::string row;
        for (int x = 0; x < channel.Width(); ++x)
            row += channel.At(x, y) == 0 ? '.' : char(channel.At(x, y));
        rows.push_back(row);
    }
    return rows;
}

TEST(ChannelAnalysis, BoundingBoxOfNonZeroPixels)
{
    SEdgeRect box;
    EXPECT_FALSE(FromPicture({"....", "...."})->BoundingBox(box));
    ASSERT_TRUE(FromPicture({".....", "..#..", "....#", "....."})->BoundingBox(box));
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 1);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.bottom, 3);
}

TEST(ChannelAnalysis, EdgeMarkingFillsOnlyTheInterior)
{
    auto channel = FromPicture({".....", ".###.", ".###.", ".###.", "....."});
    channel->MarkEdges(SetInteriorTo255);
    EXPECT_EQ(channel->At(2, 2), 255);
    EXPECT_EQ(channel->At(1, 2), 1);
    auto full = FromPicture({"###", "###"});
    full->MarkEdges(SetInteriorTo255);
    EXPECT_EQ(full->At(1, 1), 1); // on the border
}

TEST(ChannelAnalysis, OutlineRingSurroundsRegionsDiagonalsIncluded)
{
    auto channel = FromPicture({".....", ".....", "..#..", ".....", "....."});
    channel->OutlineRing('a', 'b');
    const std::vector<std::string> want = {".....", ".bbb.", ".bab.", ".bbb.", "....."};
    EXPECT_EQ(ToPicture(*channel), want);
}

} // namespace
} // namespace pv
