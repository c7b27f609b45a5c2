// Composing a block image into a view gives the bytes of composing the same pixels held as a
// plain image, for every mode, on tiles that are fully written, sparsely written or uniform,
// for parts that do not start on tile borders, and for parts small enough to be walked whole
// as well as large ones walked through the region list.
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
    int32_t width, height; // of the layer
    int writtenEvery;    // every n-th tile gets random pixels
    uint32_t background; // what the other tiles read as
    SPoint point;
    SExtent rect;
};

const BandCase kCases[] = {
    {"every tile written", 300, 100, 1, 0x00FFFFFF, {0, 0}, {0, 0, 300, 100}},
    {"one tile in ten written", 300, 100, 10, 0x00FFFFFF, {0, 0}, {0, 0, 300, 100}},
    {"written tiles among visible uniform ones", 300, 100, 7, 0x80336699, {5, 3}, {0, 0, 300, 100}},
    {"a part off the tile borders laid elsewhere", 300, 100, 3, 0x00FFFFFF, {17, 9}, {40, 21, 200, 60}},
    {"a sparse part off the tile borders", 300, 100, 9, 0x00FFFFFF, {2, 30}, {45, 13, 250, 70}},
    {"a large sparse layer", 700, 300, 11, 0x00FFFFFF, {0, 0}, {0, 0, 700, 300}},
    {"a large part off the tile borders among uniform tiles", 700, 300, 5, 0x40806040, {3, 1}, {19, 7, 650, 280}},
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
    layer.Create(c.width, c.height);
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
        const int32_t w = c.width + 30, h = c.height + 20;
        TMTC plain(c.width, c.height), backdrop(w, h);
        layer.DrawInto(plain, {0, 0});
        FillRandom(backdrop.RowPixels(0), w * h, random);
        for (int mode = 0; mode < kLayerModeCount; ++mode)
            for (uint8_t opacity : {255, 128, 1}) {
                TMTC viaTiles(w, h), reference(w, h);
                viaTiles.CopyFromPixels({0, 0}, backdrop.RowPixels(0), w, h, w * 4, {0, 0, w, h});
                reference.CopyFromPixels({0, 0}, backdrop.RowPixels(0), w, h, w * 4, {0, 0, w, h});
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
        TMTC plain(c.width, c.height), viaTiles(c.width + 30, c.height + 20), reference(c.width + 30, c.height + 20);
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
