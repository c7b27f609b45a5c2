// Row and column runs: coverage of their end pixels, keep-the-larger, cutting to the channel.
#include "PrimitivePictures.h"

#include "raster/Runs.h"

#include <gtest/gtest.h>

#include <limits>

namespace pv {
namespace {

using test::ChannelPicture;
using test::Picture;

struct RunCase {
    const char *name;
    uint8_t value;
    double opacity, start, end;
    uint8_t before;
    std::vector<int> pixels; // columns 0..9 of the run's row
};

const RunCase kRunCases[] = {
    // 63 of pixel 2's sub-positions count: the one exactly half a length from the centre does not.
    {"whole pixels", 255, 1.0, 2.0, 6.0, 0, {0, 0, 251, 255, 255, 255, 0, 0, 0, 0}},
    {"within one pixel", 255, 1.0, 3.25, 3.75, 0, {0, 0, 0, 123, 0, 0, 0, 0, 0, 0}},
    {"fractional ends", 255, 1.0, 1.5, 8.7, 0, {0, 123, 255, 255, 255, 255, 255, 255, 175, 0}},
    {"half opacity", 255, 0.5, 2.0, 6.0, 0, {0, 0, 125, 127, 127, 127, 0, 0, 0, 0}},
    {"starting left of the channel", 200, 1.0, -3.0, 1.5, 0, {200, 100, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"keeps the larger", 255, 1.0, 2.0, 6.0, 252, {252, 252, 252, 255, 255, 255, 252, 252, 252, 252}},
    {"end before start", 255, 1.0, 6.0, 2.0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"not a number", 255, 1.0, std::numeric_limits<double>::quiet_NaN(), 6.0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
};

TEST(Runs, RowRunCoverage)
{
    for (const RunCase &c : kRunCases) {
        TChannel channel(10, 3);
        channel.Fill(c.before);
        RowRun(channel, 1, c.value, c.opacity, c.start, c.end);
        EXPECT_EQ(ChannelPicture(channel, 0, 1, 10, 1), Picture{c.pixels}) << c.name;
        EXPECT_EQ(ChannelPicture(channel, 0, 0, 10, 1), Picture{std::vector<int>(10, c.before)}) << c.name;
    }
}

TEST(Runs, ColumnRunCoverage)
{
    for (const RunCase &c : kRunCases) {
        TChannel channel(3, 10);
        channel.Fill(c.before);
        ColumnRun(channel, 2, c.value, c.opacity, c.start, c.end);
        Picture column;
        for (int v : c.pixels)
            column.push_back({v});
        EXPECT_EQ(ChannelPicture(channel, 2, 0, 1, 10), column) << c.name;
        EXPECT_EQ(ChannelPicture(channel, 1, 0, 1, 10), Picture(10, std::vector<int>{c.before})) << c.name;
    }
}

TEST(Runs, LinesOutsideTheChannelDrawNothing)
{
    TChannel channel(4, 4);
    channel.Fill(0);
    RowRun(channel, -1, 255, 1.0, 0, 4);
    RowRun(channel, 4, 255, 1.0, 0, 4);
    ColumnRun(channel, -1, 255, 1.0, 0, 4);
    ColumnRun(channel, 4, 255, 1.0, 0, 4);
    RowRun(channel, 0, 255, 1.0, 10, 20);
    EXPECT_EQ(ChannelPicture(channel, 0, 0, 4, 4), Picture(4, std::vector<int>(4, 0)));
    TChannel empty;
    RowRun(empty, 0, 255, 1.0, 0, 4);
}

} // namespace
} // namespace pv
