// Masks and the mask list: the four combination modes with their size rules, inversion
// against the paper, inflate and deflate, masks from layers.
#include "document/CLayerData.h"
#include "selection/CMaskMngr.h"

#include <gtest/gtest.h>

#include <memory>

namespace pv {
namespace {

// A w x h region of one value.
std::unique_ptr<TChannel> Region(int32_t w, int32_t h, uint8_t value)
{
    auto r = std::make_unique<TChannel>(w, h);
    r->Fill(value);
    return r;
}

int32_t Width(const CMaskData &m) { return m.Image() ? m.Image()->Width() : 0; }

TEST(Masks, TheListStartsWithOneEmptyMask)
{
    CMaskMngr masks(100, 80);
    ASSERT_EQ(1, masks.Count());
    EXPECT_EQ("ﾏｽｸ1", masks.Current()->name);
    EXPECT_FALSE(masks.Current()->IsPresent());
    EXPECT_TRUE(masks.Select(1)) << "selecting the index after the last appends a mask";
    EXPECT_EQ("ﾏｽｸ2", masks.At(1)->name);
    EXPECT_EQ(1, masks.CurrentIndex());
    EXPECT_TRUE(masks.Move(1, 0));
    EXPECT_EQ("ﾏｽｸ2", masks.At(0)->name);
    EXPECT_TRUE(masks.Remove(0));
    EXPECT_FALSE(masks.Remove(0)) << "the list keeps at least one mask";
}

TEST(Masks, CombiningRegions)
{
    CMaskMngr masks(100, 80);
    ASSERT_TRUE(masks.CombineRegion(0, *Region(20, 10, 200), {10, 10}, MaskMode::Replace));
    const CMaskData &m = *masks.At(0);
    EXPECT_EQ(20, Width(m));
    EXPECT_EQ(-10, m.ox);
    EXPECT_EQ("ﾏｽｸ1", m.name) << "combinations keep the name";
    EXPECT_EQ(200, m.ValueAt(10, 10));
    EXPECT_EQ(0, m.ValueAt(9, 10));
    EXPECT_EQ(0, m.ValueAt(-50, -50)) << "outside its image a mask is 0";

    // Add a region beside it: the mask grows to the union.
    ASSERT_TRUE(masks.CombineRegion(0, *Region(5, 5, 255), {40, 30}, MaskMode::Add));
    EXPECT_EQ(35, Width(*masks.At(0)));
    EXPECT_EQ(255, masks.At(0)->ValueAt(42, 32));
    EXPECT_EQ(200, masks.At(0)->ValueAt(12, 12));

    // Subtract keeps size and origin and never changes the mask it replaces.
    auto before = masks.CombineRegion(0, *Region(10, 10, 100), {5, 5}, MaskMode::Subtract);
    ASSERT_TRUE(before);
    EXPECT_EQ(200, before->ValueAt(12, 12)) << "the old mask is intact for undo";
    EXPECT_EQ(35, Width(*masks.At(0)));
    EXPECT_EQ(-10, masks.At(0)->ox);
    EXPECT_EQ(155, masks.At(0)->ValueAt(12, 12)) << "min(200, 255 - 100)";
    EXPECT_EQ(200, masks.At(0)->ValueAt(20, 12));

    // Intersect with a region elsewhere: nothing is left.
    ASSERT_TRUE(masks.CombineRegion(0, *Region(5, 5, 255), {80, 70}, MaskMode::Intersect));
    SEdgeRect box;
    EXPECT_FALSE(masks.At(0)->Image()->NonZeroBox(box));

    CMaskMngr empty(100, 80);
    EXPECT_FALSE(empty.CombineRegion(0, *Region(5, 5, 255), {0, 0}, MaskMode::Subtract)) << "nothing to subtract from";
    EXPECT_FALSE(empty.CombineRegion(0, *Region(5, 5, 255), {0, 0}, MaskMode::Intersect));
}

TEST(Masks, AddingBeyondThePaperIsCroppedToIt)
{
    CMaskMngr masks(100, 80);
    masks.CombineRegion(0, *Region(20, 10, 255), {10, 10}, MaskMode::Replace);
    masks.CombineRegion(0, *Region(30, 30, 255), {90, 70}, MaskMode::Add);
    const SEdgeRect r = masks.At(0)->Rect();
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(100, r.right);
    EXPECT_EQ(80, r.bottom);
}

TEST(Masks, InvertingCoversThePaper)
{
    CMaskMngr masks(50, 40);
    masks.CombineRegion(0, *Region(20, 20, 255), {40, 30}, MaskMode::Replace); // partly outside
    ASSERT_TRUE(masks.Invert(0));
    const CMaskData &m = *masks.At(0);
    EXPECT_EQ(255, m.ValueAt(0, 0)) << "paper outside the old mask becomes selected";
    EXPECT_EQ(0, m.ValueAt(45, 35));
    EXPECT_EQ(0, m.ValueAt(55, 45)) << "the old mask beyond the paper inverts too";

    CMaskMngr none(50, 40);
    ASSERT_TRUE(none.Invert(0));
    EXPECT_EQ(50, Width(*none.At(0))) << "an empty mask inverts to the whole paper";
    EXPECT_EQ(255, none.At(0)->ValueAt(49, 39));
}

TEST(Masks, InflateAndDeflate)
{
    CMaskMngr masks(100, 100);
    masks.CombineRegion(0, *Region(10, 10, 255), {20, 20}, MaskMode::Replace);
    ASSERT_TRUE(masks.Inflate(0, 1, false));
    const CMaskData &shrunk = *masks.At(0);
    EXPECT_EQ(12, Width(shrunk)) << "the image first grew by one pixel on every side";
    EXPECT_EQ(0, shrunk.ValueAt(20, 20));
    EXPECT_EQ(255, shrunk.ValueAt(21, 21));
    EXPECT_EQ(255, shrunk.ValueAt(28, 28));
    EXPECT_EQ(0, shrunk.ValueAt(29, 28));

    CMaskMngr dot(100, 100);
    auto one = Region(9, 9, 0);
    one->At(4, 4) = 255;
    dot.CombineRegion(0, *one, {50, 50}, MaskMode::Replace);
    ASSERT_TRUE(dot.Inflate(0, 1, true));
    int selected = 0;
    for (int y = 45; y < 65; ++y)
        for (int x = 45; x < 65; ++x)
            selected += dot.At(0)->ValueAt(x, y) == 255;
    EXPECT_EQ(9, selected) << "one pixel grows into a 3 x 3 block";
    EXPECT_EQ(255, dot.At(0)->ValueAt(53, 53));
}

TEST(Masks, SelectionCommands)
{
    CLayerData layer(0, false);
    ASSERT_TRUE(layer.CreateImage(60, 40, 3));
    CMaskMngr masks(60, 40);
    ASSERT_TRUE(masks.SelectAll(layer));
    EXPECT_EQ(255, masks.Current()->ValueAt(59, 39));
    EXPECT_TRUE(masks.MoveBy(5, 0));
    EXPECT_EQ(0, masks.Current()->ValueAt(2, 2));
    EXPECT_EQ(255, masks.Current()->ValueAt(62, 2));
    EXPECT_FALSE(masks.MoveBy(0, 0));
    ASSERT_TRUE(masks.Deselect());
    EXPECT_FALSE(masks.Current()->IsPresent());
    EXPECT_EQ("ﾏｽｸ1", masks.Current()->name);
}

TEST(Masks, MasksFromAndIntoLayers)
{
    CLayerData layer(0, false);
    ASSERT_TRUE(layer.CreateImage(40, 30, 3));
    layer.name = "背景";
    layer.Image()->SetEveryTile(0xFFFFFFFF);
    layer.Image()->WritePixel(3, 4, 0xFF000000);
    CMaskData bright, alpha;
    ASSERT_TRUE(bright.FromLayerBrightness(layer));
    ASSERT_TRUE(alpha.FromLayerTransparency(layer));
    EXPECT_EQ("明度(背景)", bright.name);
    EXPECT_EQ("ﾏｽｸ(背景)", alpha.name);
    EXPECT_EQ(255, bright.ValueAt(3, 4)) << "black is selected";
    EXPECT_EQ(0, bright.ValueAt(5, 5));
    EXPECT_EQ(255, alpha.ValueAt(5, 5));
    EXPECT_EQ(33, bright.Thumbnail().Width());
    EXPECT_EQ(24, bright.Thumbnail().Height());

    ASSERT_TRUE(bright.WriteIntoLayerAlpha(layer));
    EXPECT_EQ(0xFF000000u, layer.Image()->Pixel(3, 4));
    EXPECT_EQ(0x00FFFFFFu, layer.Image()->Pixel(5, 5));
}

} // namespace
} // namespace pv

namespace pv {
namespace {

TEST(Masks, ScalingWithThePaper)
{
    CMaskMngr masks(100, 80);
    auto region = std::make_unique<TChannel>(20, 10);
    region->Fill(255);
    masks.CombineRegion(0, *region, {40, 20}, MaskMode::Replace);
    masks.Select(1); // an empty second mask, current
    for (bool smooth : {false, true}) {
        auto half = masks.ScaledTo(50, 40, smooth);
        ASSERT_TRUE(half);
        const CMaskData &m = *half->At(0);
        ASSERT_TRUE(m.Image());
        EXPECT_EQ(10, m.Image()->Width()) << "half size";
        EXPECT_EQ(5, m.Image()->Height());
        EXPECT_EQ(-20, m.ox) << "half origin";
        EXPECT_EQ(255, m.ValueAt(22, 12));
        EXPECT_EQ("ﾏｽｸ1", m.name);
        EXPECT_FALSE(half->At(1)->Image()) << "empty masks stay empty";
        EXPECT_EQ(1, half->CurrentIndex());
    }
    auto tiny = masks.ScaledTo(1, 1, false);
    ASSERT_TRUE(tiny);
    EXPECT_FALSE(tiny->At(0)->Image()) << "a mask that scales to no pixels becomes empty";
}

} // namespace
} // namespace pv
