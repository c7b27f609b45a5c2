// Structure records: layers leaving and re-entering the stack, versions swapped, visibility
// sets and whole-stack exchanges, each undone and redone against the stack it must restore.
#include "UndoFixture.h"

#include <gtest/gtest.h>

namespace pv::test {
namespace {

void Paint(CBlockVMTC &image, uint32_t colour) { image.MaskedFill({8, 8, 30, 30}, 0xFFFFFFFF, colour); }

struct StackState {
    std::vector<int32_t> serials;
    std::vector<std::vector<uint32_t>> pixels;
    bool operator==(const StackState &) const = default;
};

StackState StateOf(const CLayerMngr &stack)
{
    StackState s{Serials(stack), {}};
    for (int32_t i = 0; i < stack.Count(); ++i)
        s.pixels.push_back(Pixels(*stack.At(i)->Image()));
    return s;
}

// Undo gives back `before`, redo `after`, twice over.
void ExpectRoundTrips(FakePaper &paper, const StackState &before, const StackState &after)
{
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(paper.Undo());
        EXPECT_EQ(before, StateOf(*paper.stack)) << "undo, round " << round;
        ASSERT_TRUE(paper.Redo());
        EXPECT_EQ(after, StateOf(*paper.stack)) << "redo, round " << round;
    }
}

TEST(UndoStructure, NewAndMovedLayers)
{
    FakePaper paper(2);
    StackState before = StateOf(*paper.stack);
    const int32_t at = paper.stack->AddLayer(1, 64, 64, kNormalMode, false, 255, true);
    Paint(paper.Image(at), 0xFF112233);
    ASSERT_TRUE(paper.undo.PushStructureRecord(UndoKind::NewLayer, paper.Layer(at).serial, {}));
    EXPECT_TRUE(paper.undo.PeekUndo()->kept.Empty()) << "the layer belongs to the stack";
    StackState after = StateOf(*paper.stack);
    ExpectRoundTrips(paper, before, after);

    before = after;
    const int32_t moved = paper.Layer(0).serial;
    ASSERT_EQ(2, paper.stack->Move(2, 0));
    ASSERT_TRUE(paper.undo.PushStructureRecord(UndoKind::MoveInStack, moved, {}, {0, 2}));
    EXPECT_FALSE(paper.undo.PeekUndo()->IsHeavy());
    ExpectRoundTrips(paper, before, StateOf(*paper.stack));
}

TEST(UndoStructure, MergeDownKeepsBothLayers)
{
    FakePaper paper(2);
    Paint(paper.Image(0), 0xFF00FF00);
    Paint(paper.Image(1), 0x80FF0000);
    const StackState before = StateOf(*paper.stack);
    const int32_t upperSerial = paper.Layer(1).serial;
    std::unique_ptr<CLayerData> oldLower;
    ASSERT_TRUE(paper.stack->Merge(0, 1, true, 0, &oldLower));
    UndoKeep keep;
    keep.layer = paper.stack->Detach(1);
    keep.other = std::move(oldLower);
    ASSERT_TRUE(paper.undo.PushStructureRecord(UndoKind::MergeDown, paper.Layer(0).serial, std::move(keep), {1, upperSerial}));
    ExpectRoundTrips(paper, before, StateOf(*paper.stack));
}

TEST(UndoStructure, MergeVisiblePutsEveryLayerBack)
{
    FakePaper paper(4);
    for (int32_t i = 0; i < 4; ++i)
        Paint(paper.Image(i), 0xFF000000u + uint32_t(i));
    paper.Layer(2).visible = false;
    const StackState before = StateOf(*paper.stack);
    // What merging the visible layers leaves: one new layer where the lowest visible one was,
    // the hidden layer in place; the merged-away layers go to the record, lowest first.
    auto merged = std::make_unique<CLayerData>(0, false);
    ASSERT_TRUE(merged->CreateImage(64, 64, kNormalMode));
    Paint(*merged->Image(), 0xFF999999);
    const int32_t mergedSerial = merged->serial;
    UndoKeep keep;
    std::unique_ptr<CLayerData> top = paper.stack->Detach(3), middle = paper.stack->Detach(1);
    keep.layers.push_back(paper.stack->Replace(0, std::move(merged)));
    keep.layers.push_back(std::move(middle));
    keep.layers.push_back(std::move(top));
    ASSERT_TRUE(paper.undo.PushStructureRecord(UndoKind::MergeAll, mergedSerial, std::move(keep), {}, {}, {0, 1, 3}));
    const StackState after = StateOf(*paper.stack);
    ASSERT_EQ(2u, after.serials.size());
    ExpectRoundTrips(paper, before, after);
}

TEST(UndoStructure, ReplacedLayerVersions)
{
    for (UndoKind kind : {UndoKind::LayerTransform, UndoKind::LayerResampled, UndoKind::LayerTransformWithMask}) {
        SCOPED_TRACE(UndoKindName(int(kind)));
        FakePaper paper(2);
        Paint(paper.Image(1), 0xFF445566);
        CMaskData &mask = *paper.masks->Current();
        const StackState before = StateOf(*paper.stack);
        std::unique_ptr<CLayerData> bigger = paper.Layer(1).ResizedCopy(96, 64, {16, 0});
        ASSERT_TRUE(bigger);
        const int32_t newSerial = bigger->serial;
        UndoKeep keep;
        keep.layer = paper.stack->Replace(1, std::move(bigger));
        mask.ox -= 16;
        ASSERT_TRUE(paper.undo.PushStructureRecord(kind, newSerial, std::move(keep), {16, 0, mask.serial}));
        const StackState after = StateOf(*paper.stack);
        ASSERT_TRUE(paper.Undo());
        EXPECT_EQ(before, StateOf(*paper.stack));
        EXPECT_EQ(kind == UndoKind::LayerTransformWithMask ? 0 : -16, mask.ox) << "only kind 34 moves the mask";
        ASSERT_TRUE(paper.Redo());
        EXPECT_EQ(after, StateOf(*paper.stack));
        EXPECT_EQ(-16, mask.ox);
    }
}

TEST(UndoStructure, SelectionToNewLayerSwapsTheSourceAlpha)
{
    FakePaper paper(1);
    Paint(paper.Image(0), 0xFF336699);
    std::vector<uint8_t> alpha(64 * 64);
    ASSERT_TRUE(paper.Image(0).ReadAlpha({0, 0, 64, 64}, alpha.data()));
    const StackState before = StateOf(*paper.stack);
    const int32_t at = paper.stack->AddLayer(1, 64, 64, kNormalMode, false, 255, true);
    paper.Image(at).CopyFrom(paper.Image(0), {0, 0}, {8, 8, 10, 10});
    paper.Image(0).SetAlpha({8, 8, 10, 10}, 0); // the separate mode takes the pixels away
    ASSERT_TRUE(paper.undo.PushStructureRecord(UndoKind::SelectionToLayer, paper.Layer(at).serial, {}, {paper.Layer(0).serial},
                                               std::move(alpha)));
    ExpectRoundTrips(paper, before, StateOf(*paper.stack));
}

TEST(UndoStructure, VisibilitySets)
{
    for (UndoKind kind : {UndoKind::ShowOnlyLayer, UndoKind::ShowAllLayers, UndoKind::ToggleAllLayers}) {
        SCOPED_TRACE(UndoKindName(int(kind)));
        FakePaper paper(3);
        paper.Layer(1).visible = false;
        const std::vector<uint8_t> before = paper.stack->VisibilitySnapshot();
        ASSERT_TRUE(paper.undo.PushStructureRecord(kind, paper.Layer(0).serial, {}, {}, before));
        paper.stack->ToggleAll();
        const std::vector<uint8_t> after = paper.stack->VisibilitySnapshot();
        ASSERT_TRUE(paper.Undo());
        EXPECT_EQ(before, paper.stack->VisibilitySnapshot());
        ASSERT_TRUE(paper.Redo());
        EXPECT_EQ(after, paper.stack->VisibilitySnapshot());
    }
}

TEST(UndoStructure, CanvasTurnGoesBackTheOtherWay)
{
    FakePaper paper(1);
    ASSERT_TRUE(paper.undo.PushStructureRecord(UndoKind::RotateCanvas, -1, {}, {1, 64, 64}));
    ASSERT_TRUE(paper.Undo());
    ASSERT_TRUE(paper.Redo());
    EXPECT_EQ((std::vector<bool>{false, true}), paper.turns);
}

TEST(UndoStructure, WholeStackExchanges)
{
    const struct {
        UndoKind kind;
        int32_t dx, dy;
    } cases[] = {{UndoKind::CanvasSize, 10, -5}, {UndoKind::Crop, -20, -3}, {UndoKind::ResamplePicture, 0, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(UndoKindName(int(c.kind)));
        FakePaper paper(2);
        paper.Stroke(0, {0, 0, 10, 10}, 0xFF000000);
        paper.masks->InsertNew(1);
        CLayerMngr *oldStack = paper.stack.get();
        CMaskMngr *oldMasks = paper.masks.get();

        auto resized = std::make_unique<CLayerMngr>();
        resized->SetPaperSize(80, 50);
        resized->AppendLayer(80, 50, kNormalMode, false, 255, true);
        CLayerMngr *newStack = resized.get();
        UndoKeep keep;
        keep.stack = paper.ExchangeLayerStack(std::move(resized));
        paper.undo.ReplaceLayerManager(newStack);
        if (c.kind == UndoKind::ResamplePicture) {
            keep.masks = paper.ExchangeMasks(std::make_unique<CMaskMngr>(80, 50));
        } else {
            for (int32_t i = 0; i < paper.masks->Count(); ++i)
                paper.masks->At(i)->ox -= c.dx;
        }
        CMaskMngr *newMasks = paper.masks.get();
        ASSERT_TRUE(paper.undo.PushStructureRecord(c.kind, -1, std::move(keep), {c.dx, c.dy}));

        ASSERT_TRUE(paper.Undo());
        EXPECT_EQ(oldStack, paper.stack.get()) << "the old stack itself comes back";
        EXPECT_EQ(oldStack, paper.undo.LayerManager());
        EXPECT_EQ(oldMasks, paper.masks.get());
        EXPECT_EQ(0, paper.masks->At(1)->ox);
        EXPECT_EQ(64, paper.stack->PaperWidth());
        ASSERT_TRUE(paper.Undo()) << "the stroke before the change applies to the old stack";
        ASSERT_TRUE(paper.Redo());
        ASSERT_TRUE(paper.Redo());
        EXPECT_EQ(newStack, paper.stack.get()) << "redone without computing anything again";
        EXPECT_EQ(newMasks, paper.masks.get());
        EXPECT_EQ(c.kind == UndoKind::ResamplePicture ? 0 : -c.dx, paper.masks->At(0)->ox);
    }
}

TEST(UndoStructure, PushesCheckWhatTheyKeep)
{
    RecordedMessages messages;
    FakePaper paper(2);
    const int32_t serial = paper.Layer(1).serial;
    EXPECT_FALSE(paper.undo.PushStructureRecord(UndoKind::MergeDown, paper.Layer(0).serial, {}, {1, serial}));
    EXPECT_FALSE(paper.undo.PushStructureRecord(UndoKind::ShowAllLayers, serial, {}, {}, {1, 1, 1}))
        << "one flag per layer";
    EXPECT_FALSE(paper.undo.PushStructureRecord(UndoKind::SelectionToLayer, serial, {}, {paper.Layer(0).serial}, {1, 2}))
        << "an alpha plane of the wrong size";
    EXPECT_FALSE(paper.undo.PushStructureRecord(UndoKind::Crop, -1, {})) << "no stack to go back to";
    EXPECT_EQ(2, paper.stack->Count());
}

} // namespace
} // namespace pv::test
