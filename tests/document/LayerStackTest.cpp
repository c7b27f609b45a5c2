// Layers and the layer stack: creation, names, order, thumbnails, serial lookups and merges.
#include "StackFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pv {
namespace {

using test::RecordedMessages;
using test::Serials;

TEST(LayerStack, AddingNamingAndOrder)
{
    RecordedMessages messages;
    CLayerMngr m;
    m.SetPaperSize(64, 48);
    EXPECT_EQ(-1, m.Active());
    EXPECT_EQ(0, m.AddLayer(0, 64, 48, kNormalMode, false, 255, true)) << "index 0 of an empty list appends";
    EXPECT_EQ(0, m.Active());
    m.NameFromCounter(0, 1);
    EXPECT_EQ(1, m.AppendLayer(64, 48, 0, false, 200, true));
    m.NameFromCounter(1, 1);
    EXPECT_EQ(2, m.AppendLayer(64, 48, 1, false, 255, false));
    m.NameFromCounter(2, 1);
    EXPECT_EQ("ﾚｲﾔ1", m.At(0)->name);
    EXPECT_EQ("ﾚｲﾔ3", m.At(2)->name);
    EXPECT_EQ("ﾚｲﾔ4", m.NextDefaultName());
    EXPECT_EQ(200, m.At(1)->opacity);
    EXPECT_EQ(2, m.VisibleCount());
    EXPECT_EQ((std::vector<uint8_t>{1, 1, 0}), m.VisibilitySnapshot());

    const std::vector<int32_t> before = Serials(m);
    EXPECT_EQ(2, m.Move(2, 0)) << "the bottom layer of three to the top";
    EXPECT_EQ((std::vector<int32_t>{before[1], before[2], before[0]}), Serials(m));
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(i, m.At(i)->index);
    EXPECT_EQ(-1, m.Move(1, 1));
    EXPECT_EQ(2, m.Move(99, 0)) << "the destination is clamped";

    EXPECT_EQ(-1, m.AddLayer(-1, 64, 48, 3, false, 255, true));
    EXPECT_EQ((std::vector<std::string>{"不正なﾚｲﾔｲﾝﾃﾞｯｸｽです!"}), messages.warnings);
    EXPECT_EQ(-1, m.AddLayer(3, 40000, 48, 3, false, 255, true)) << "an image that cannot be made";
    EXPECT_EQ("ﾚｲﾔの初期化に失敗しました!", messages.warnings.back());
    EXPECT_EQ(3, m.Count());

    const int32_t gone = m.SerialAt(1);
    m.Delete(1);
    EXPECT_EQ(-1, m.IndexOfSerial(gone));
    EXPECT_EQ(1, m.IndexOfSerial(before[1])) << "order now: old 2, old 1";
    m.SetActive(1);
    m.Delete(1);
    EXPECT_EQ(0, m.Active()) << "clamped after a delete";
    EXPECT_TRUE(m.ShowOnly(0));
    m.ToggleAll();
    EXPECT_EQ(-1, m.FirstVisible());
    m.DeleteAll();
    EXPECT_EQ(-1, m.Active());
}

TEST(LayerStack, NewLayersTakeTheFillColourOfTheirMode)
{
    CLayerData layer(0, false);
    ASSERT_TRUE(layer.CreateImage(40, 40, 0));
    EXPECT_EQ(LayerParam(0).fillColour, layer.Image()->Pixel(39, 39));
    EXPECT_EQ(0, layer.Image()->AllocatedTiles());
    EXPECT_TRUE(layer.visible);
    CLayerData fresh(1, false);
    EXPECT_FALSE(fresh.visible);
    EXPECT_EQ(255, fresh.ditherAmount);
    EXPECT_GT(fresh.serial, layer.serial);
}

TEST(LayerStack, ThumbnailsFitTheirBox)
{
    struct Case {
        int32_t w, h, tw, th;
    } cases[] = {{200, 50, 33, 8}, {50, 200, 8, 33}, {1, 1000, 1, 33}, {1000, 1, 33, 1}, {40, 40, 33, 33}};
    for (const Case &c : cases) {
        CLayerData layer(0, false);
        ASSERT_TRUE(layer.CreateImage(c.w, c.h, 3));
        EXPECT_EQ(c.tw, layer.Thumbnail().Width()) << c.w << "x" << c.h;
        EXPECT_EQ(c.th, layer.Thumbnail().Height()) << c.w << "x" << c.h;
    }
}

TEST(LayerStack, AttributeChangesRepaintEveryNonEmptyTile)
{
    CLayerData layer(0, false);
    ASSERT_TRUE(layer.CreateImage(100, 100, 3));
    layer.Image()->SetAlpha({0, 0, 32, 32}, 255);
    layer.Image()->WritePixel(90, 90, 0xFF000000);
    layer.Image()->TakeChangedTiles();
    layer.SetOpacity(128);
    EXPECT_EQ((std::vector<int32_t>{0, 10}), layer.Image()->TakeChangedTiles());
    layer.SetOpacity(128);
    EXPECT_TRUE(layer.Image()->TakeChangedTiles().empty()) << "no change, no repaint";
}

// Two layers with different offsets: a 64 x 64 lower layer and a 40 x 40 upper layer sticking
// out by 8 pixels to the left and top.
void TwoLayers(CLayerMngr &m)
{
    m.SetPaperSize(64, 64);
    m.AppendLayer(64, 64, kNormalMode, false, 255, true);
    m.AppendLayer(40, 40, kNormalMode, false, 160, true);
    CLayerData &lower = *m.At(0), &upper = *m.At(1);
    lower.Image()->SetEveryTile(0xFF2040C0);
    lower.SetOpacity(200);
    lower.name = "下";
    upper.offsetX = 8;
    upper.offsetY = 8;
    upper.Image()->SetEveryTile(0x80FF0000);
    upper.Image()->WritePixel(20, 20, 0xFF00FF00);
}

TEST(LayerStack, MergeCoversBothLayersAndAgreesAcrossVariants)
{
    CLayerMngr zero, three;
    TwoLayers(zero);
    TwoLayers(three);
    const int32_t lowerSerial = zero.At(0)->serial;
    ASSERT_TRUE(zero.Merge(0, 1, false, 0));
    ASSERT_TRUE(three.Merge(0, 1, false, 3));
    const CLayerData &merged = *zero.At(0);
    EXPECT_EQ(72, merged.Image()->Width()) << "the union of both image rectangles";
    EXPECT_EQ(8, merged.offsetX);
    EXPECT_EQ(lowerSerial, merged.serial);
    EXPECT_EQ("下", merged.name);
    EXPECT_EQ(255, merged.opacity);
    EXPECT_EQ(2, zero.Count()) << "the upper layer stays for the caller to remove";
    const CBlockVMTC &a = *zero.At(0)->Image(), &b = *three.At(0)->Image();
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 72; ++x)
            ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
    uint32_t expected = 0xC82040C0; // the lower pixel with the lower opacity 200 folded in
    LayerParam(kNormalMode).merge(&expected, 0xFF00FF00, 160);
    EXPECT_EQ(expected, a.Pixel(20, 20)) << "the upper pixel (20, 20) lands at paper (12, 12)";
    EXPECT_EQ(0u, a.Pixel(70, 2) >> 24) << "outside both layers stays transparent";

    CLayerMngr kept;
    TwoLayers(kept);
    std::unique_ptr<CLayerData> old;
    ASSERT_TRUE(kept.Merge(0, 1, true, 0, &old));
    ASSERT_TRUE(old);
    EXPECT_EQ(64, old->Image()->Width()) << "the old lower layer is handed back for undo";
}

TEST(LayerStack, AFailedMergeLeavesTheStackAsItWas)
{
    CLayerMngr m;
    TwoLayers(m);
    const std::vector<int32_t> before = Serials(m);
    CLayerData *lower = m.At(0);
    EXPECT_FALSE(m.Merge(0, 1, false, 4)) << "no variant 4";
    EXPECT_FALSE(m.Merge(0, 5, false, 0));
    EXPECT_EQ(before, Serials(m));
    EXPECT_EQ(lower, m.At(0));
    EXPECT_EQ(200, m.At(0)->opacity);
}

TEST(LayerStack, ResizedCopiesAndOffsets)
{
    CLayerData layer(0, false);
    ASSERT_TRUE(layer.CreateImage(50, 40, 3));
    layer.Image()->WritePixel(0, 0, 0xFF112233);
    auto bigger = layer.ResizedCopy(70, 60, {10, 5});
    ASSERT_TRUE(bigger);
    EXPECT_EQ(0xFF112233u, bigger->Image()->Pixel(10, 5));
    EXPECT_EQ(10, bigger->offsetX);
    EXPECT_TRUE(bigger->HasHiddenArea());
    EXPECT_TRUE(bigger->OffsetsInRange(false));
    bigger->offsetX = 30;
    EXPECT_FALSE(bigger->OffsetsInRange(true));
    EXPECT_EQ(20, bigger->offsetX) << "clamped to image width - paper width";
    const SEdgeRect r = bigger->ImageRectOnPaper();
    EXPECT_EQ(-20, r.left);
    EXPECT_EQ(50, r.right);
}

} // namespace
} // namespace pv
