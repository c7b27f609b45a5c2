// HSV, HLS and CMYK conversions and the default palette.
#include "raster/ColourSpaces.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pv {
namespace {

constexpr int32_t kOne = 65536;

TEST(ColourSpaces, HsvOfPrimariesAndGreys)
{
    struct Case {
        uint32_t colour;
        int32_t hue, saturation, value;
    };
    const Case cases[] = {
        {0xFF0000, 0, 255 * kOne, 255 * kOne},
        {0x00FF00, 120 * kOne, 255 * kOne, 255 * kOne},
        {0x0000FF, 240 * kOne, 255 * kOne, 255 * kOne},
        {0xFFFF00, 60 * kOne, 255 * kOne, 255 * kOne},
        {0x808080, 0, 0, 128 * kOne},
        {0x000000, 0, 0, 0},
    };
    for (const Case &c : cases) {
        const SHsv hsv = ColourToHsv(c.colour);
        EXPECT_EQ(hsv.hue, c.hue) << std::hex << c.colour;
        EXPECT_EQ(hsv.saturation, c.saturation) << std::hex << c.colour;
        EXPECT_EQ(hsv.value, c.value) << std::hex << c.colour;
        EXPECT_EQ(HsvToColour(hsv), c.colour) << std::hex << c.colour;
    }
    EXPECT_EQ(HsvToColour({-120 * kOne, 255 * kOne, 255 * kOne}), 0x0000FFu);
}

// Every conversion and back stays within one step per channel on a grid of colours.
template <class To, class Back>
int LargestRoundTripError(To to, Back back)
{
    int worst = 0;
    for (uint32_t r = 0; r < 256; r += 15)
        for (uint32_t g = 0; g < 256; g += 17)
            for (uint32_t b = 0; b < 256; b += 5) {
                const uint32_t colour = r << 16 | g << 8 | b;
                const uint32_t again = back(to(colour));
                for (int shift = 0; shift < 24; shift += 8)
                    worst = std::max(worst, std::abs(int((colour >> shift) & 0xFF) - int((again >> shift) & 0xFF)));
            }
    return worst;
}

TEST(ColourSpaces, RoundTripsStayWithinOneStep)
{
    EXPECT_LE(LargestRoundTripError(ColourToHsv, HsvToColour), 1);
    EXPECT_LE(LargestRoundTripError(ColourToHls, HlsToColour), 1);
}

TEST(ColourSpaces, HlsOfPrimariesAndGreys)
{
    const SHls red = ColourToHls(0xFF0000);
    EXPECT_EQ(red.hue, 0);
    EXPECT_EQ(red.lightness >> 16, 127);
    EXPECT_EQ(red.saturation >> 16, 255);
    const SHls grey = ColourToHls(0x404040);
    EXPECT_EQ(grey.lightness, 64 * kOne);
    EXPECT_EQ(grey.saturation, 0);
    EXPECT_EQ(HlsToColour(grey), 0x404040u);
    EXPECT_EQ(ColourToHls(0x00FF00).hue, 120 * kOne);
}

TEST(ColourSpaces, CmykInksSubtractFromWhite)
{
    EXPECT_EQ(CmykToColour(0, 0, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(CmykToColour(0, 0, 0, 255), 0x000000u);
    EXPECT_EQ(CmykToColour(255, 128, 0, 0), 0x007FFFu);
    EXPECT_EQ(CmykToColour(0, 0, 0, 128), 0x7F7F7Fu);
}

TEST(ColourSpaces, DefaultPaletteSpansTheCube)
{
    const auto &palette = DefaultPalette();
    EXPECT_EQ(palette[0], 0x000000u);
    EXPECT_EQ(palette[255], 0xFFFFFFu);
    EXPECT_EQ(palette[64 * 1 + 8 * 3 + 7], 0xFF6D55u);
}

} // namespace
} // namespace pv
