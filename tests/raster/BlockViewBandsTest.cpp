// Composing a block image into a view a tile row at a time gives the bytes of composing the
// same pixels held as a plain image, for every mode, on bands that are fully written, sparsely
// written or uniform, and for parts that do not start on tile borders.
#include "raster/CBlockVMTC.h"
#include "raster/Dither.h"
#include "raster/ImageDrivers.h"
#include "raster/SLayerParam.h"

#include <gtest/gtest.h>

#include <random>

namespace pv {
namespace {

struct BandCase {
    const char *name;
    int writtenEvery;    // every n-th tile gets random pixels
    uint32_t background; // what the other tiles read as
    SPoint point;
    SExtent rect;
};

const BandCase kCases[] = {
    {"every tile written", 1, 0x00FFFFFF, {0, 0}, {0, 0, 300, 100}},
    {"one tile in ten written", 10, 0x00FFFFFF, {0, 0}, {0, 0, 300, 100}},
    {"written tiles among visible uniform ones", 7, 0x80336699, {5, 3}, {0, 0, 300, 100}},
    {"a part off the tile borders laid elsewhere", 3, 0x00FFFFFF, {17, 9}, {40, 21, 200, 60}},
    {"a sparse part off the tile borders", 9, 0x00FFFFFF, {2, 30}, {45, 13, 250, 70}},
};

// Random pixels with some alpha 0 and 255 runs, so the kernels' skips and full weights run.
void FillRandom(uint32_t *pixels, int32_t count, std::mt19937 &random)
{
    for (int32_t i = 0; i < count; ++i) {
        uint32_t p = random();
        if (i % 97 < 20)
            p &= 0x00FFFFFF;
        else if (i % 89 < 20)
            p |= 0xFF000000;
        pixels[i] = p;
    }
}

void MakeLayer(CBlockVMTC &layer, const BandCase &c, std::mt19937 &random)
{
    layer.Create(300, 100);
    layer.SetEveryTile(c.background);
    for (int32_t tile = 0; tile < layer.TileCount(); tile += c.writtenEvery) {
        layer.AllocTile(tile);
        FillRandom(reinterpret_cast<uint32_t *>(layer.TileMemory(tile)), 32 * 32, random);
    }
    layer.SetAlpha({96, 64, 32, 32}, 0); // one tile left transparent whatever it held
}

void ExpectSame(const TMTC &a, const TMTC &b, const std::string &what)
{
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.At(x, y), b.At(x, y)) << what << " at " << x << "," << y;
}

TEST(BlockViewBands, EveryModeEqualsComposingThePlainImage)
{
    std::mt19937 random(7);
    for (const BandCase &c : kCases) {
        CBlockVMTC layer;
        MakeLayer(layer, c, random);
        TMTC plain(300, 100), backdrop(330, 120);
        layer.DrawInto(plain, {0, 0});
        FillRandom(backdrop.RowPixels(0), 330 * 120, random);
        for (int mode = 0; mode < kLayerModeCount; ++mode)
            for (uint8_t opacity : {255, 128, 1}) {
                TMTC viaTiles(330, 120), reference(330, 120);
                viaTiles.CopyFromPixels({0, 0}, backdrop.RowPixels(0), 330, 120, 330 * 4, {0, 0, 330, 120});
                reference.CopyFromPixels({0, 0}, backdrop.RowPixels(0), 330, 120, 330 * 4, {0, 0, 330, 120});
                ASSERT_TRUE(layer.ComposeIntoView(viaTiles, mode, opacity, nullptr, 255, c.point, c.rect));
                DrawWithOperator(plain, reference, c.point, LayerParam(mode).compose, opacity, c.rect);
                ExpectSame(viaTiles, reference, std::string(c.name) + ", " + LayerParam(mode).name + ", opacity " +
                                                    std::to_string(opacity));
            }
    }
}

TEST(BlockViewBands, DitheredEqualsDitheringThePlainImage)
{
    std::mt19937 random(8);
    const SRandomRecord record = SeededRandomRecord(99);
    for (const BandCase &c : kCases) {
        CBlockVMTC layer;
        MakeLayer(layer, c, random);
        TMTC plain(300, 100), viaTiles(330, 120), reference(330, 120);
        layer.DrawInto(plain, {0, 0});
        viaTiles.Fill(0xFF204060);
        reference.Fill(0xFF204060);
        ASSERT_TRUE(layer.ComposeIntoView(viaTiles, 4, 200, &record, 150, c.point, c.rect));
        InstallDither(LayerParam(4).compose, record, 150);
        DrawWithOperator(plain, reference, c.point, DitherCompose, 200, c.rect);
        ExpectSame(viaTiles, reference, c.name);
    }
}

} // namespace
} // namespace pv
