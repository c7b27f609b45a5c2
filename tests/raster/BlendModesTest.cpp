// Paint and compose routines of every layer mode on grey and coloured pixel pairs, and the
// row loops against the per-pixel routines on random pixels.
#include "raster/ComposeRows.h"
#include "raster/SLayerParam.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace pv {
namespace {

uint32_t Grey(uint32_t v, uint32_t alpha = 255)
{
    return (alpha << 24) | v * 0x010101u;
}

// For each separable mode, the composed channel of five destination/source pairs, at
// opacity 255 and 128 (opaque sources).
struct SeparableCase {
    int mode;
    uint8_t want[5][2];
};
constexpr uint8_t kPairs[5][2] = {{64, 192}, {200, 30}, {255, 0}, {0, 255}, {128, 128}};
const SeparableCase kSeparable[] = {
    {0, {{48, 56}, {23, 112}, {0, 127}, {0, 0}, {64, 96}}},
    {1, {{255, 160}, {230, 215}, {255, 255}, {255, 128}, {255, 192}}},
    {2, {{0, 0}, {170, 185}, {255, 255}, {0, 0}, {0, 64}}},
    {3, {{192, 128}, {30, 114}, {0, 127}, {255, 128}, {128, 128}}},
    {4, {{208, 136}, {207, 203}, {255, 255}, {255, 128}, {192, 160}}},
    {5, {{96, 80}, {157, 178}, {255, 255}, {0, 0}, {128, 128}}},
    {6, {{160, 112}, {47, 123}, {0, 127}, {255, 128}, {128, 128}}},
    {7, {{95, 79}, {167, 183}, {255, 255}, {0, 0}, {128, 128}}},
    {8, {{128, 96}, {170, 184}, {255, 255}, {255, 128}, {0, 63}}},
    {9, {{160, 112}, {184, 191}, {255, 255}, {255, 128}, {128, 128}}},
    {10, {{64, 64}, {30, 114}, {0, 127}, {0, 0}, {128, 128}}},
    {11, {{192, 128}, {200, 200}, {255, 255}, {255, 128}, {128, 128}}},
    {12, {{2, 32}, {0, 99}, {255, 255}, {0, 0}, {2, 64}}},
    {13, {{255, 159}, {226, 213}, {255, 255}, {0, 0}, {255, 191}}},
    {18, {{1, 33}, {0, 88}, {0, 127}, {0, 0}, {1, 65}}},
    {19, {{192, 128}, {4, 101}, {0, 127}, {254, 127}, {128, 128}}},
    {20, {{129, 96}, {22, 110}, {0, 127}, {255, 128}, {128, 128}}},
    {21, {{129, 96}, {60, 129}, {0, 127}, {255, 128}, {128, 128}}},
};

TEST(BlendModes, SeparableModesComposeGreyPairs)
{
    for (const SeparableCase &c : kSeparable) {
        for (int pair = 0; pair < 5; ++pair) {
            for (int o = 0; o < 2; ++o) {
                uint32_t pixel = Grey(kPairs[pair][0]);
                LayerParam(c.mode).compose(&pixel, Grey(kPairs[pair][1]), o == 0 ? 255 : 128);
                EXPECT_EQ(pixel, Grey(c.want[pair][o]))
                    << "mode " << c.mode << " d " << int(kPairs[pair][0]) << " s " << int(kPairs[pair][1])
                    << " opacity " << (o == 0 ? 255 : 128);
            }
        }
    }
}

TEST(BlendModes, HueSaturationColourLuminosityComposeColourPairs)
{
    constexpr uint32_t kDest[3] = {0xFFC8285A, 0xFFFAFA0A, 0xFF141EC8};
    constexpr uint32_t kSource[3] = {0xFF1EA0DC, 0xFF5A5A5A, 0xFFFF8000};
    struct Case {
        int mode;
        uint32_t want[3][2];
    };
    const Case cases[] = {
        {14, {{0x0B78AB, 0x695082}, {0xDEDEDE, 0xEBEB74}, {0x4E2700, 0x312263}}},
        {15, {{0xDC1E59, 0xD22259}, {0xDEDEDE, 0xEBEB74}, {0x0917FF, 0x0E1AE3}}},
        {16, {{0x007CB6, 0x635288}, {0xDEDEDE, 0xEBEB74}, {0x4D2600, 0x302263}}},
        {17, {{0xDC507C, 0xD23C6B}, {0x656500, 0xAFAF04}, {0x878DF3, 0x4D55DD}}},
    };
    for (const Case &c : cases) {
        for (int pair = 0; pair < 3; ++pair) {
            for (int o = 0; o < 2; ++o) {
                uint32_t pixel = kDest[pair];
                LayerParam(c.mode).compose(&pixel, kSource[pair], o == 0 ? 255 : 128);
                EXPECT_EQ(pixel, 0xFF000000u | c.want[pair][o]) << "mode " << c.mode << " pair " << pair;
            }
        }
    }
}

TEST(BlendModes, HueOfAGreySourceIsTheDestinationsGrey)
{
    uint32_t pixel = 0xFF3080C0;
    LayerParam(14).compose(&pixel, 0xFF777777, 255);
    EXPECT_EQ(pixel, Grey(GreyOfColour(0xFF3080C0)));
}

TEST(BlendModes, TransparentSourceLeavesEveryModeUnchanged)
{
    for (int mode = 0; mode < kLayerModeCount; ++mode) {
        uint32_t pixel = 0xFF123456;
        LayerParam(mode).compose(&pixel, 0x00FFFFFF, 255);
        EXPECT_EQ(pixel, 0xFF123456u) << "mode " << mode;
        LayerParam(mode).paint(&pixel, 0x00ABCDEF, 0);
        EXPECT_EQ(pixel, 0xFF123456u) << "mode " << mode;
    }
}

TEST(BlendModes, PaintKeepsTheDestinationAlpha)
{
    for (int mode = 0; mode < kLayerModeCount; ++mode) {
        uint32_t pixel = 0x40808080;
        LayerParam(mode).paint(&pixel, 0xFF20E040, 200);
        EXPECT_EQ(pixel >> 24, 0x40u) << "mode " << mode;
    }
}

TEST(BlendModes, RowLoopsGiveTheBytesOfThePerPixelRoutines)
{
    std::mt19937 random(20260101);
    // At odd opacities the pixels are made of the bytes where the formulas turn.
    constexpr uint8_t kEdges[] = {0, 1, 2, 126, 127, 128, 129, 253, 254, 255};
    const auto pixel = [&](bool edges) {
        if (!edges)
            return uint32_t(random());
        uint32_t p = 0;
        for (int shift = 0; shift < 32; shift += 8)
            p |= uint32_t(kEdges[random() % std::size(kEdges)]) << shift;
        return p;
    };
    constexpr int kCount = 67; // not a multiple of any vector width
    uint32_t source[kCount], want[kCount], got[kCount];
    for (int mode = 0; mode < kLayerModeCount; ++mode) {
        const SLayerParam &row = LayerParam(mode);
        for (int opacity = 0; opacity < 256; ++opacity) {
            for (int i = 0; i < kCount; ++i) {
                source[i] = pixel(opacity % 2 == 1);
                want[i] = got[i] = pixel(opacity % 2 == 1);
            }
            // Some fully transparent and fully opaque sources, as real layers have.
            source[0] &= 0x00FFFFFFu;
            source[1] |= 0xFF000000u;
            ComposeRowByPixel(row.compose, want, source, kCount, opacity);
            row.composeRow(got, source, kCount, opacity);
            for (int i = 0; i < kCount; ++i)
                ASSERT_EQ(got[i], want[i]) << "mode " << mode << " opacity " << opacity << " pixel " << i;
        }
    }
}

TEST(BlendModes, ModeListsFollowTheDisplayOrder)
{
    const int order[kLayerModeCount] = {3, 0, 1, 2, 18, 4, 5, 6, 7, 19, 20, 21, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    for (int position = 0; position < kLayerModeCount; ++position) {
        EXPECT_EQ(ModeAtPosition(position), order[position]);
        EXPECT_EQ(PositionOfMode(order[position]), position);
    }
    EXPECT_EQ(ModeAtPosition(22), 3);
    EXPECT_EQ(ModeAtPosition(-1), 3);
    EXPECT_EQ(PositionOfMode(40), 0);
    EXPECT_EQ(LayerParam(99).code, 3);
    int separators = 0;
    for (int mode = 0; mode < kLayerModeCount; ++mode)
        separators += LayerParam(mode).separatorBefore ? 1 << LayerParam(mode).displayPosition : 0;
    EXPECT_EQ(separators, (1 << 1) | (1 << 5) | (1 << 7) | (1 << 12) | (1 << 16) | (1 << 18));
}

} // namespace
} // namespace pv
