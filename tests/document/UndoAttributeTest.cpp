// Attribute records: each swaps a stored value with the picture's, both ways.
#include "UndoFixture.h"

#include <functional>

#include <gtest/gtest.h>

namespace pv::test {
namespace {

TEST(UndoAttribute, SwapsTheStoredValue)
{
    using Get = std::function<int(FakePaper &)>;
    using Set = std::function<void(FakePaper &)>;
    const struct {
        UndoKind kind;
        Set change;
        Get read;
    } cases[] = {
        {UndoKind::PaperColour, [](FakePaper &p) { p.colour = 0x00102030; }, [](FakePaper &p) { return int(p.colour); }},
        {UndoKind::Opacity, [](FakePaper &p) { p.Layer(1).SetOpacity(40); }, [](FakePaper &p) { return int(p.Layer(1).opacity); }},
        {UndoKind::Dither, [](FakePaper &p) { p.Layer(1).SetDither(true, 77, p.Layer(1).random); },
         [](FakePaper &p) { return p.Layer(1).dither * 1000 + p.Layer(1).ditherAmount; }},
        {UndoKind::BlendMode, [](FakePaper &p) { p.Layer(1).SetBlendMode(7); }, [](FakePaper &p) { return int(p.Layer(1).blendMode); }},
        {UndoKind::Visibility, [](FakePaper &p) { p.Layer(1).SetVisible(false); }, [](FakePaper &p) { return int(p.Layer(1).visible); }},
        {UndoKind::Protection, [](FakePaper &p) { p.Layer(1).protectTransparency = true; },
         [](FakePaper &p) { return int(p.Layer(1).protectTransparency); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(UndoKindName(int(c.kind)));
        FakePaper paper(2);
        paper.stack->SetActive(1);
        const int before = c.read(paper);
        ASSERT_TRUE(paper.undo.PushAttributeRecord(c.kind == UndoKind::PaperColour ? nullptr : &paper.Layer(1), c.kind));
        c.change(paper);
        const int after = c.read(paper);
        ASSERT_NE(before, after);
        ASSERT_TRUE(paper.Undo());
        EXPECT_EQ(before, c.read(paper));
        ASSERT_TRUE(paper.Redo());
        EXPECT_EQ(after, c.read(paper));
        EXPECT_FALSE(paper.undo.PeekUndo()->IsHeavy());
    }
}

TEST(UndoAttribute, OffsetsAndNames)
{
    FakePaper paper(1);
    CLayerData &layer = paper.Layer(0);
    layer.offsetX = 3;
    layer.offsetY = 4;
    layer.offsetX -= 10; // the paper moves the layer, then records where it was
    ASSERT_TRUE(paper.undo.PushAttributeRecord(&layer, UndoKind::LayerOffset, {3, 4}));
    layer.name = "ﾚｲﾔ1";
    ASSERT_TRUE(paper.undo.PushAttributeRecord(&layer, UndoKind::LayerName, {}, "背景"));
    layer.name = "背景";
    ASSERT_TRUE(paper.Undo());
    EXPECT_EQ("ﾚｲﾔ1", layer.name);
    ASSERT_TRUE(paper.Undo());
    EXPECT_EQ(3, layer.offsetX);
    EXPECT_EQ(4, layer.offsetY);
    ASSERT_TRUE(paper.Redo());
    EXPECT_EQ(-7, layer.offsetX);
    ASSERT_TRUE(paper.Redo());
    EXPECT_EQ("背景", layer.name);
}

TEST(UndoAttribute, LayerAndMaskMoveTogetherOrNotAtAll)
{
    RecordedMessages messages;
    FakePaper paper(1);
    CLayerData &layer = paper.Layer(0);
    CMaskData &mask = *paper.masks->Current();
    // Moved by (5, -2): the layer's offset and the mask's origin both go down by it.
    layer.offsetX -= 5;
    layer.offsetY += 2;
    mask.ox -= 5;
    mask.oy += 2;
    ASSERT_TRUE(paper.undo.PushAttributeRecord(&layer, UndoKind::LayerAndMaskOffset, {5, -2, mask.serial}));
    ASSERT_TRUE(paper.Undo());
    EXPECT_EQ(0, layer.offsetX);
    EXPECT_EQ(0, layer.offsetY);
    EXPECT_EQ(0, mask.ox);
    EXPECT_EQ(0, mask.oy);
    ASSERT_TRUE(paper.Redo());
    EXPECT_EQ(-5, layer.offsetX);
    EXPECT_EQ(-5, mask.ox);

    // The mask was replaced since: neither moves, and the history goes.
    paper.masks->Replace(0, std::make_unique<CMaskData>());
    EXPECT_FALSE(paper.Undo());
    EXPECT_EQ(-5, layer.offsetX);
    EXPECT_EQ(0, paper.masks->Current()->ox);
    EXPECT_FALSE(paper.undo.CanUndo());
    EXPECT_EQ(1u, messages.warnings.size());
}

} // namespace
} // namespace pv::test
