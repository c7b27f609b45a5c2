// Region, filter, alpha and transform records against the pixels they must restore.
#include "UndoFixture.h"

#include "document/LayerTransforms.h"

#include <gtest/gtest.h>

namespace pv::test {
namespace {

// Every pixel different, so a restore in the wrong place shows.
void Pattern(CBlockVMTC &image, uint32_t seed)
{
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x)
            image.WritePixel(x, y, (uint32_t(x * 7 + y * 131) * 2654435761u) ^ seed);
}

TEST(UndoRegion, RestoresExactlyTheRectangle)
{
    const struct {
        const char *what;
        SExtent rect;
    } cases[] = {
        {"inside one tile", {3, 4, 5, 6}},
        {"across four tiles", {20, 25, 30, 20}},
        {"partly outside the image", {50, -10, 40, 30}},
        {"the whole image", {0, 0, 64, 64}},
        {"uniform tiles only", {0, 32, 32, 32}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        FakePaper paper(1);
        Pattern(paper.Image(0), 1);
        paper.Image(0).FreeTile(paper.Image(0).TileIndex(0, 1), 0x80402010); // one uniform tile
        const std::vector<uint32_t> before = Pixels(paper.Image(0));
        ASSERT_TRUE(paper.Stroke(0, c.rect, 0xFF00FF00));
        const std::vector<uint32_t> after = Pixels(paper.Image(0));
        ASSERT_TRUE(paper.Undo());
        EXPECT_EQ(before, Pixels(paper.Image(0)));
        ASSERT_TRUE(paper.Redo());
        EXPECT_EQ(after, Pixels(paper.Image(0)));
        ASSERT_TRUE(paper.Undo());
        EXPECT_EQ(before, Pixels(paper.Image(0)));
    }
}

TEST(UndoRegion, FilterRecordTakesTheCopy)
{
    FakePaper paper(1);
    Pattern(paper.Image(0), 2);
    const std::vector<uint32_t> before = Pixels(paper.Image(0));
    auto copy = std::make_unique<CBlockVMTC>();
    ASSERT_TRUE(copy->CreateAsCopy(paper.Image(0)));
    const CBlockVMTC *handed = copy.get();
    ASSERT_TRUE(paper.undo.PushFilterRecord(paper.Layer(0), std::move(copy), UndoKind::Filter));
    EXPECT_EQ(handed, paper.undo.PeekUndo()->pixels.get()) << "no second copy";
    paper.Image(0).XorRect({0, 0, 64, 64}, 0x00FFFFFF);
    const std::vector<uint32_t> filtered = Pixels(paper.Image(0));
    ASSERT_TRUE(paper.Undo());
    EXPECT_EQ(before, Pixels(paper.Image(0)));
    ASSERT_TRUE(paper.Redo());
    EXPECT_EQ(filtered, Pixels(paper.Image(0)));

    auto wrongSize = std::make_unique<CBlockVMTC>(10, 10);
    RecordedMessages messages;
    EXPECT_FALSE(paper.undo.PushFilterRecord(paper.Layer(0), std::move(wrongSize), UndoKind::Filter));
}

TEST(UndoAlpha, RestoresAlphaAndKeepsColour)
{
    FakePaper paper(1);
    Pattern(paper.Image(0), 3);
    const SExtent rect{10, 20, 40, 30};
    ASSERT_TRUE(paper.undo.PushRegionRecord(paper.Layer(0), rect, UndoKind::AlphaChange));
    EXPECT_EQ(size_t(40 * 30), paper.undo.PeekUndo()->raw.size());
    EXPECT_FALSE(paper.undo.PeekUndo()->HoldsPixels());
    EXPECT_TRUE(paper.undo.PeekUndo()->IsHeavy());
    const std::vector<uint32_t> before = Pixels(paper.Image(0));
    paper.Image(0).SetAlpha(rect, 0);
    paper.Image(0).SetColour({10, 20, 5, 5}, 0x123456); // a colour change the record does not cover
    ASSERT_TRUE(paper.Undo());
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const uint32_t now = paper.Image(0).Pixel(x, y), then = before[size_t(y * 64 + x)];
            ASSERT_EQ(then >> 24, now >> 24) << x << "," << y;
            if (x >= 15 || y >= 25 || x < 10 || y < 20) {
                ASSERT_EQ(then, now) << x << "," << y;
            }
        }
    ASSERT_TRUE(paper.Redo());
    EXPECT_EQ(0u, paper.Image(0).Pixel(30, 30) >> 24);
}

TEST(UndoTransform, SelfInverseAndWithoutPixels)
{
    const UndoKind kinds[] = {UndoKind::FlipHorizontal, UndoKind::FlipVertical, UndoKind::Negative, UndoKind::HalfTurn,
                              UndoKind::InvertAlpha};
    for (UndoKind kind : kinds) {
        SCOPED_TRACE(UndoKindName(int(kind)));
        FakePaper paper(1);
        Pattern(paper.Image(0), 4);
        const SExtent whole{0, 0, 64, 64};
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(TransformLayerImage(paper.Layer(0), kind, whole));
            ASSERT_TRUE(paper.undo.PushRegionRecord(paper.Layer(0), whole, kind));
        }
        const std::vector<uint32_t> twice = Pixels(paper.Image(0));
        ASSERT_TRUE(paper.Undo());
        EXPECT_NE(twice, Pixels(paper.Image(0)));
        ASSERT_TRUE(TransformLayerImage(paper.Layer(0), kind, whole));
        EXPECT_EQ(twice, Pixels(paper.Image(0))) << "the undo left the layer as after the first transform";
        ASSERT_TRUE(TransformLayerImage(paper.Layer(0), kind, whole));
        EXPECT_EQ(0, paper.undo.MemoryUsed());
        EXPECT_EQ(0, paper.undo.UndoList().HeavyCount());
    }
}

// A 100 x 80 layer seen through a 60 x 50 paper window at (10, 5).
bool WithHiddenArea(CLayerData &layer)
{
    if (!layer.CreateImage(100, 80, kNormalMode))
        return false;
    layer.paperWidth = 60;
    layer.paperHeight = 50;
    layer.offsetX = 10;
    layer.offsetY = 5;
    return true;
}

TEST(UndoTransform, FlipsMirrorTheOffset)
{
    CLayerData layer(0, false);
    ASSERT_TRUE(WithHiddenArea(layer));
    ASSERT_TRUE(TransformLayerImage(layer, UndoKind::FlipHorizontal, {0, 0, 100, 80}));
    EXPECT_EQ(30, layer.offsetX);
    EXPECT_EQ(5, layer.offsetY);
    ASSERT_TRUE(TransformLayerImage(layer, UndoKind::HalfTurn, {0, 0, 100, 80}));
    EXPECT_EQ(10, layer.offsetX);
    EXPECT_EQ(25, layer.offsetY);
    ASSERT_TRUE(TransformLayerImage(layer, UndoKind::FlipVertical, {0, 0, 50, 80}));
    EXPECT_EQ(25, layer.offsetY) << "a part of the image moves no window";
}

TEST(UndoTransform, CanvasTurnCarriesThePaperWindow)
{
    CLayerData layer(0, false);
    ASSERT_TRUE(WithHiddenArea(layer));
    layer.Image()->WritePixel(10, 5, 0xFF0000FF); // paper (0, 0)
    for (bool clockwise : {true, false}) {
        SCOPED_TRACE(clockwise);
        std::unique_ptr<CLayerData> turned = TurnLayerWithCanvas(layer, clockwise);
        ASSERT_TRUE(turned);
        EXPECT_EQ(layer.serial, turned->serial);
        EXPECT_EQ(50, turned->paperWidth);
        EXPECT_EQ(60, turned->paperHeight);
        // Clockwise the paper's top-left corner goes to its top-right, the other way to its
        // bottom-left.
        const int32_t px = clockwise ? 49 : 0, py = clockwise ? 0 : 59;
        EXPECT_EQ(0xFF0000FFu, turned->Image()->Pixel(px + turned->offsetX, py + turned->offsetY));
        std::unique_ptr<CLayerData> back = TurnLayerWithCanvas(*turned, !clockwise);
        EXPECT_EQ(10, back->offsetX);
        EXPECT_EQ(5, back->offsetY);
    }
}

TEST(UndoTransform, VisibleLayersAreTheOnesThatTurned)
{
    FakePaper paper(3);
    for (int32_t i = 0; i < 3; ++i)
        Pattern(paper.Image(i), uint32_t(10 + i));
    paper.Layer(2).visible = false;
    std::vector<std::vector<uint32_t>> before;
    for (int32_t i = 0; i < 3; ++i)
        before.push_back(Pixels(paper.Image(i)));
    for (int32_t i = 0; i < 2; ++i)
        TransformLayerImage(paper.Layer(i), UndoKind::FlipVisibleHorizontal, {0, 0, 64, 64});
    ASSERT_TRUE(paper.undo.PushRegionRecord(paper.Layer(0), {}, UndoKind::FlipVisibleHorizontal));
    // Visibility changes in between; the undo must still turn back exactly layers 0 and 1.
    paper.Layer(1).visible = false;
    paper.Layer(2).visible = true;
    ASSERT_TRUE(paper.Undo());
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(before[size_t(i)], Pixels(paper.Image(i))) << "layer " << i;
}

TEST(UndoRegion, DeletedLayerComesBackForItsStroke)
{
    FakePaper paper(2);
    Pattern(paper.Image(1), 5);
    const std::vector<uint32_t> before = Pixels(paper.Image(1));
    const int32_t serial = paper.Layer(1).serial;
    paper.Stroke(1, {5, 5, 40, 40}, 0xFF0000FF);
    UndoKeep keep;
    keep.layer = paper.stack->Detach(1);
    ASSERT_TRUE(paper.undo.PushStructureRecord(UndoKind::DeleteLayer, serial, std::move(keep)));
    ASSERT_EQ(1, paper.stack->Count());
    ASSERT_TRUE(paper.Undo());
    ASSERT_EQ(2, paper.stack->Count());
    EXPECT_EQ(serial, paper.Layer(1).serial);
    ASSERT_TRUE(paper.Undo()) << "the stroke applies to the layer again";
    EXPECT_EQ(before, Pixels(paper.Image(1)));
}

TEST(UndoRegion, RecordOfAVanishedLayerIsDropped)
{
    RecordedMessages messages;
    FakePaper paper(2);
    paper.Stroke(0, {0, 0, 8, 8}, 0xFF000000);
    paper.Stroke(1, {0, 0, 8, 8}, 0xFF000000);
    paper.stack->Delete(1); // gone without a record
    EXPECT_FALSE(paper.Undo());
    EXPECT_EQ(1u, messages.warnings.size());
    EXPECT_FALSE(paper.undo.CanUndo()) << "the whole history is cleared";
    EXPECT_FALSE(paper.undo.CanRedo());
}

} // namespace
} // namespace pv::test
