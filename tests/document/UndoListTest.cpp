// The undo lists: the count limits with heavy records and the slack, changing the counts,
// the plain manager of a layer, failed pushes and the memory the records hold.
#include "UndoFixture.h"

#include <gtest/gtest.h>

namespace pv::test {
namespace {

std::vector<UndoKind> Kinds(const CUndoList &list)
{
    std::vector<UndoKind> kinds;
    for (int32_t i = 0; i < list.Count(); ++i)
        kinds.push_back(list.At(i)->kind);
    return kinds;
}

TEST(UndoLimits, HeavyRecordsAndTheSlack)
{
    {
        FakePaper paper(1, 3);
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(paper.Stroke(0, {i, i, 4, 4}, 0xFF000000u + uint32_t(i)));
        EXPECT_EQ(3, paper.undo.UndoCount()) << "four strokes keep the newest three";
        EXPECT_EQ(1, paper.undo.UndoList().At(2)->rect.x) << "the oldest went";
    }
    {
        FakePaper paper(1, 3);
        for (int i = 0; i < 3; ++i)
            paper.Stroke(0, {i, i, 4, 4}, 0xFF000000);
        ASSERT_TRUE(paper.undo.PushAttributeRecord(&paper.Layer(0), UndoKind::Opacity));
        // The heavy count is brought below the limit before every push, light or heavy.
        EXPECT_EQ((std::vector<UndoKind>{UndoKind::Opacity, UndoKind::Stroke, UndoKind::Stroke}), Kinds(paper.undo.UndoList()));
    }
    {
        FakePaper paper(1, 3);
        for (int i = 0; i < 40; ++i)
            paper.undo.PushAttributeRecord(&paper.Layer(0), UndoKind::Opacity);
        EXPECT_EQ(35, paper.undo.UndoCount()) << "undo count plus the slack of light records";
    }
}

TEST(UndoLimits, ChangingTheCounts)
{
    RecordedMessages messages;
    FakePaper paper(1, 8);
    paper.undo.PushAttributeRecord(&paper.Layer(0), UndoKind::Opacity);
    for (int i = 0; i < 5; ++i)
        paper.Stroke(0, {0, 0, 8, 8}, 0xFF000000u + uint32_t(i));
    paper.undo.PushAttributeRecord(&paper.Layer(0), UndoKind::Opacity);
    paper.Undo();
    paper.Undo();

    EXPECT_FALSE(paper.undo.SetCounts(8, 8)) << "nothing changes";
    EXPECT_TRUE(paper.undo.SetCounts(2, 5));
    EXPECT_EQ(2, paper.undo.RedoLimit()) << "the redo count never exceeds the undo count";
    EXPECT_EQ(2, paper.undo.UndoList().HeavyCount());
    EXPECT_EQ(UndoKind::Stroke, paper.undo.UndoList().At(1)->kind) << "the oldest went first";

    EXPECT_TRUE(paper.undo.SetCounts(0, 3));
    EXPECT_EQ(0, paper.undo.UndoList().HeavyCount());
    EXPECT_EQ(0, paper.undo.RedoList().HeavyCount());
    EXPECT_FALSE(paper.undo.Enabled());
    EXPECT_FALSE(paper.Stroke(0, {0, 0, 4, 4}, 0xFF000000)) << "pushes are off";
    EXPECT_TRUE(messages.warnings.empty()) << "a disabled history is no failure";
}

TEST(UndoLimits, LayerHistoryHasFixedCapacity)
{
    CLayerData layer(0, true);
    ASSERT_TRUE(layer.CreateImage(40, 40, kNormalMode));
    CUndoMngr &undo = *layer.Undo();
    EXPECT_EQ(8, undo.UndoLimit());
    for (uint32_t i = 0; i < 10; ++i) {
        ASSERT_TRUE(undo.PushRegion(0, layer, UndoKind::LayerOwnRegion, {0, 0, 40, 40}, *layer.Image()));
        layer.Image()->MaskedFill({0, 0, 40, 40}, 0xFFFFFFFF, 0xFF000000 | i);
    }
    EXPECT_EQ(8, undo.UndoCount());
    SExtent rect;
    ASSERT_TRUE(undo.UndoRegion(*layer.Image(), rect));
    EXPECT_EQ(0xFF000008u, layer.Image()->Pixel(39, 39));
    EXPECT_TRUE(layer.CanRedo());

    // A copy of the layer copies its history, pixels duplicated.
    CLayerData copy(0, true);
    ASSERT_TRUE(copy.CreateAsCopyOf(layer));
    EXPECT_EQ(undo.UndoCount(), copy.Undo()->UndoCount());
    layer.ReleaseImage();
    EXPECT_FALSE(layer.CanUndo()) << "releasing the image clears the history";
    ASSERT_TRUE(copy.Undo()->UndoRegion(*copy.Image(), rect));
    EXPECT_EQ(0xFF000007u, copy.Image()->Pixel(0, 0));
    ASSERT_TRUE(copy.Undo()->RedoRegion(*copy.Image(), rect));
    ASSERT_TRUE(copy.Undo()->RedoRegion(*copy.Image(), rect));
    EXPECT_EQ(0xFF000009u, copy.Image()->Pixel(0, 0));
    EXPECT_FALSE(copy.CanRedo());
}

// A manager whose list cannot grow, as when memory runs out.
class FailingUndoMngr : public CUndoMngrEx {
public:
    bool PushUndo(std::unique_ptr<CUndoData> record) override { return !fail && CUndoMngrEx::PushUndo(std::move(record)); }
    bool fail = false;
};

TEST(UndoLimits, FailedPushClearsBothLists)
{
    RecordedMessages messages;
    FakePaper paper(1);
    FailingUndoMngr undo;
    undo.Create(&paper, CUndoMngrEx::kSlack, 8, 8, paper.stack.get());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(undo.PushRegionRecord(paper.Layer(0), {0, 0, 8, 8}, UndoKind::Stroke));
    int32_t index = 0;
    SEdgeRect rect;
    ASSERT_TRUE(undo.Undo(index, &paper.Layer(0), rect));
    undo.fail = true;
    EXPECT_FALSE(undo.PushAttributeRecord(&paper.Layer(0), UndoKind::Opacity));
    EXPECT_FALSE(undo.CanUndo()) << "older records would apply across the unrecorded change";
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_EQ((std::vector<std::string>{CUndoMngr::kPushFailedMessage}), messages.warnings);

    undo.fail = false;
    EXPECT_FALSE(undo.PushRegionRecord(paper.Layer(0), {0, 0, 8, 8}, UndoKind::Opacity)) << "a kind of another type";
    EXPECT_FALSE(undo.PushAttributeRecord(&paper.Layer(0), UndoKind::Stroke));
    EXPECT_FALSE(undo.PushStructureRecord(UndoKind::NewLayer, 12345, {})) << "a layer that is not in the stack";
    EXPECT_FALSE(undo.CanUndo());
}

TEST(UndoMemory, CountsWhatTheRecordsHold)
{
    FakePaper paper(2);
    CUndoMngrEx &undo = paper.undo;
    constexpr int64_t kTile = 32 * 32 * 4;
    for (int32_t y : {0, 32})
        for (int32_t x : {0, 32})
            paper.Image(0).WritePixel(x, y, 0xFF123456); // tiles with memory of their own
    paper.Stroke(0, {30, 30, 4, 4}, 0xFF000000); // crosses into all four tiles
    EXPECT_EQ(4 * kTile, undo.MemoryUsed());
    paper.Stroke(0, {2, 2, 4, 4}, 0xFF000000); // one tile
    EXPECT_EQ(5 * kTile, undo.MemoryUsed());
    undo.PushRegionRecord(paper.Layer(0), {0, 0, 64, 64}, UndoKind::FlipHorizontal);
    undo.PushRegionRecord(paper.Layer(0), {0, 0, 64, 64}, UndoKind::Negative);
    undo.PushRegionRecord(paper.Layer(0), {0, 0, 64, 64}, UndoKind::HalfTurn);
    EXPECT_EQ(5 * kTile, undo.MemoryUsed()) << "transform records hold no pixels";
    undo.PushRegionRecord(paper.Layer(0), {0, 0, 10, 20}, UndoKind::AlphaChange);
    EXPECT_EQ(5 * kTile + 200, undo.MemoryUsed()) << "one byte per pixel";
    std::unique_ptr<CLayerData> deleted = paper.stack->Detach(1);
    const int64_t layerBytes = deleted->MemoryUse();
    const int32_t serial = deleted->serial;
    UndoKeep keep;
    keep.layer = std::move(deleted);
    ASSERT_TRUE(undo.PushStructureRecord(UndoKind::DeleteLayer, serial, std::move(keep)));
    EXPECT_EQ(5 * kTile + 200 + layerBytes, undo.MemoryUsed());
    EXPECT_EQ(undo.MemoryUsed(), undo.UndoList().MemoryUsed());

    ASSERT_TRUE(paper.Undo());
    EXPECT_EQ(5 * kTile + 200, undo.MemoryUsed()) << "the layer is back in the stack";
    EXPECT_EQ(0, undo.RedoList().MemoryUsed());
}

} // namespace
} // namespace pv::test
