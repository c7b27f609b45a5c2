// Building a composite through the stage gives the bytes of laying every layer straight onto
// the composite, for rectangles on and off the stage's grid, cut by the composite's edge, with
// layers moved off the composite's origin, and for a composite large enough that its blocks are
// copied out with cache-bypassing stores onto rows of every alignment. Nothing outside the
// rectangle changes.
#include "raster/StagedCompose.h"

#include "raster/CBlockVMTC.h"
#include "raster/SRandomRecord.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace pv {
namespace {

struct Layer {
    CBlockVMTC image;
    int mode = 0;
    uint8_t opacity = 255;
    SPoint offset; // where the composite's origin lies on the layer
    bool dithered = false;
};

std::vector<std::unique_ptr<Layer>> MakeStack(int32_t width, int32_t height, std::mt19937 &random)
{
    const int modes[] = {3, 0, 4, 5, 8};
    const uint8_t opacities[] = {255, 200, 128, 90, 255};
    const SPoint offsets[] = {{0, 0}, {7, -5}, {-40, 33}, {0, 0}, {3, 3}};
    std::vector<std::unique_ptr<Layer>> stack;
    for (int l = 0; l < 5; ++l) {
        auto layer = std::make_unique<Layer>();
        layer->mode = modes[l];
        layer->opacity = opacities[l];
        layer->offset = offsets[l];
        layer->dithered = l == 4;
        layer->image.Create(width, height);
        layer->image.SetEveryTile(l == 3 ? 0x60408020 : 0x00FFFFFF);
        for (int32_t tile = l; tile < layer->image.TileCount(); tile += 3) {
            layer->image.AllocTile(tile);
            uint32_t *p = reinterpret_cast<uint32_t *>(layer->image.TileMemory(tile));
            for (int i = 0; i < 32 * 32; ++i)
                p[i] = i % 61 < 9 ? random() & 0x00FFFFFF : random();
        }
        stack.push_back(std::move(layer));
    }
    return stack;
}

void ComposeStack(const std::vector<std::unique_ptr<Layer>> &stack, TMTC &dest, SPoint at, SExtent area)
{
    const SRandomRecord record = SeededRandomRecord(5);
    for (const auto &layer : stack)
        layer->image.ComposeIntoView(dest, layer->mode, layer->opacity, layer->dithered ? &record : nullptr, 170, at,
                                     {area.x + layer->offset.x, area.y + layer->offset.y, area.width, area.height});
}

TEST(StagedCompose, EqualsLayingEveryLayerOnTheComposite)
{
    struct Case {
        const char *name;
        int32_t width, height; // of the composite and the layers
        SExtent rect;
    };
    const Case cases[] = {
        {"the whole composite", 600, 200, {0, 0, 600, 200}},
        {"off the stage's grid across several blocks", 600, 200, {37, 19, 501, 150}},
        {"cut by the composite's edge", 600, 200, {450, 150, 400, 400}},
        {"a single pixel", 600, 200, {255, 31, 1, 1}},
        {"inside one block", 600, 200, {260, 40, 30, 20}},
        {"a composite copied out past the cache, odd row lengths", 1101, 1000, {0, 0, 1101, 1000}},
        {"a large part starting off alignment", 1101, 1000, {3, 1, 1097, 998}},
    };
    std::mt19937 random(11);
    for (const Case &c : cases) {
        const auto stack = MakeStack(c.width, c.height, random);
        TMTC staged(c.width, c.height), direct(c.width, c.height);
        for (int32_t y = 0; y < c.height; ++y)
            for (int32_t x = 0; x < c.width; ++x)
                staged.At(x, y) = direct.At(x, y) = random();
        SExtent clipped = c.rect;
        ASSERT_TRUE(ClipToImage(clipped, c.width, c.height));
        direct.FillRect(clipped, 0xFFE0D0C0);
        ComposeStack(stack, direct, {clipped.x, clipped.y}, clipped);
        ComposeThroughStage(staged, c.rect, 0xFFE0D0C0, [&](TMTC &stage, SExtent block) {
            ComposeStack(stack, stage, {0, 0}, block);
        });
        for (int32_t y = 0; y < c.height; ++y)
            for (int32_t x = 0; x < c.width; ++x)
                ASSERT_EQ(staged.At(x, y), direct.At(x, y)) << c.name << " at " << x << "," << y;
    }
}

TEST(StagedCompose, NothingOutsideTheCompositeIsVisited)
{
    TMTC dest(50, 40);
    dest.Fill(0xFF000000);
    int blocks = 0;
    ComposeThroughStage(dest, {60, 0, 10, 10}, 0xFFFFFFFF, [&](TMTC &, SExtent) { ++blocks; });
    ComposeThroughStage(dest, {-30, -30, 20, 20}, 0xFFFFFFFF, [&](TMTC &, SExtent) { ++blocks; });
    EXPECT_EQ(blocks, 0);
    std::vector<SExtent> seen;
    ComposeThroughStage(dest, {-10, -10, 100, 100}, 0xFFFFFFFF, [&](TMTC &, SExtent block) { seen.push_back(block); });
    ASSERT_EQ(seen.size(), 2u); // rows 0..31 and 32..39 of the one stage column
    EXPECT_EQ(seen[0].width, 50);
    EXPECT_EQ(seen[0].height, 32);
    EXPECT_EQ(seen[1].y, 32);
    EXPECT_EQ(seen[1].height, 8);
    EXPECT_EQ(dest.At(49, 39), 0xFFFFFFFFu);
}

} // namespace
} // namespace pv
