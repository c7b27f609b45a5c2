// The rectangle loops of the compose routines give the bytes of the per-pixel routine on every
// row, for every mode, for widths on and off the vector width and for a source row laid on
// every row; and composing a layer into a view whose rows are not evenly spaced gives the
// bytes of composing it into a plain image.
#include "raster/CBlockVMTC.h"
#include "raster/SLayerParam.h"
#include "raster/TVMTC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace pv {
namespace {

struct RectCase {
    int32_t width, height;
    ptrdiff_t destStride, sourceStride; // a source stride of 0: one row laid on every row
};

const RectCase kCases[] = {
    {32, 32, 40, 32}, // a whole tile in a wider view
    {29, 5, 29, 32},  // a tail after the vector groups, rows packed
    {7, 3, 16, 32},   // no whole group at all
    {32, 4, 35, 0},   // a uniform tile's row
    {1, 1, 0, 0},
};

// Random pixels with some alpha 0 and 255 runs, so the kernels' skips and full weights run.
void FillRandom(std::vector<uint32_t> &pixels, std::mt19937 &random)
{
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t p = random();
        if (i % 37 < 9)
            p &= 0x00FFFFFF;
        else if (i % 41 < 9)
            p |= 0xFF000000;
        pixels[i] = p;
    }
}

TEST(ComposeRect, EveryModeEqualsThePerPixelRoutineOnEachRow)
{
    std::mt19937 random(11);
    for (const RectCase &c : kCases) {
        std::vector<uint32_t> source(size_t(32 * c.height)), backdrop(size_t(c.destStride * (c.height - 1) + c.width));
        for (int mode = 0; mode < kLayerModeCount; ++mode)
            for (int opacity : {255, 254, 128, 1, 0}) {
                FillRandom(source, random);
                FillRandom(backdrop, random);
                std::vector<uint32_t> got = backdrop, want = backdrop;
                const SLayerParam &row = LayerParam(mode);
                row.composeRect(got.data(), c.destStride, source.data(), c.sourceStride, c.width, c.height, opacity);
                for (int32_t r = 0; r < c.height; ++r)
                    ComposeRowByPixel(row.compose, want.data() + r * c.destStride, source.data() + r * c.sourceStride,
                                      c.width, opacity);
                ASSERT_EQ(got, want) << row.name << ", opacity " << opacity << ", " << c.width << " x " << c.height;
            }
    }
}

TEST(ComposeRect, UnevenViewRowsEqualAPlainView)
{
    std::mt19937 random(12);
    CBlockVMTC layer(64, 40);
    layer.SetEveryTile(0x80336699);
    for (int32_t tile : {0, 3}) {
        layer.AllocTile(tile);
        std::vector<uint32_t> pixels(32 * 32);
        FillRandom(pixels, random);
        std::copy(pixels.begin(), pixels.end(), reinterpret_cast<uint32_t *>(layer.TileMemory(tile)));
    }
    // Rows 70 pixels apart, with one more pixel of gap after every third row.
    constexpr int32_t kWidth = 70, kHeight = 40;
    std::vector<ptrdiff_t> offsets(kHeight);
    for (int32_t y = 0; y < kHeight; ++y)
        offsets[size_t(y)] = ptrdiff_t(y * kWidth + y / 3) * 4;
    std::vector<uint32_t> backdrop(size_t(kWidth * kHeight + kHeight / 3));
    FillRandom(backdrop, random);
    for (int mode = 0; mode < kLayerModeCount; ++mode) {
        std::vector<uint32_t> memory = backdrop;
        TVMTC uneven;
        uneven.Show(memory.data(), offsets.data(), kWidth, kHeight);
        TMTC plain(kWidth, kHeight);
        for (int32_t y = 0; y < kHeight; ++y)
            std::copy_n(uneven.RowPixels(y), kWidth, plain.RowPixels(y));
        ASSERT_TRUE(layer.ComposeIntoView(uneven, mode, 200, nullptr, 255, {3, 1}, {0, 0, 64, 38}));
        ASSERT_TRUE(layer.ComposeIntoView(plain, mode, 200, nullptr, 255, {3, 1}, {0, 0, 64, 38}));
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                ASSERT_EQ(uneven.At(x, y), plain.At(x, y)) << LayerParam(mode).name << " at " << x << "," << y;
    }
}

} // namespace
} // namespace pv
