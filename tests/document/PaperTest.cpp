// The paper: a new picture, the work image, undo and redo through the paper with their
// refresh, the undo count, and the switch to the legacy engine and back.
#include "StackFixtures.h"

#include "DotRenderer.h"
#include "document/TPaper.h"
#include "UndoFixture.h"

#include <gtest/gtest.h>

namespace pv::test {
namespace {

// The canvas window as the tests see it: what the paper asked it to do.
class RecordingHost : public HeadlessPaperHost {
public:
    void InvalidateRect(const SEdgeRect &rect) override { invalidated.push_back(rect); }
    void InvalidateAll() override { ++wholeRepaints; }
    void RefreshLayerWindow() override { ++layerWindowRefreshes; }
    void BeginWait() override { ++waitDepth; }
    void EndWait() override { --waitDepth; }
    std::vector<SEdgeRect> invalidated;
    int wholeRepaints = 0, layerWindowRefreshes = 0, waitDepth = 0;
};

struct NewPaper {
    explicit NewPaper(int32_t undoCount = 8, DabEngine engine = DabEngine::Current)
        : paper(TPaper::CreatePaper(host, undoCount, appPen))
    {
        paper->SetDabEngine(engine, nullptr);
        EXPECT_TRUE(paper->InitPaper("絵", image, 72, 80, 60, 80, 60));
    }
    RecordingHost host;
    TStroke appPen; // the application's pen, read by the recorder
    TFlowImage image;
    std::unique_ptr<TPaper> paper;
};

TEST(Paper, NewPictureHasOneClearedActiveLayer)
{
    NewPaper p;
    TPaper &paper = *p.paper;
    ASSERT_EQ(1, paper.LayerCount());
    EXPECT_EQ("ﾚｲﾔ1", paper.ActiveLayer()->name);
    EXPECT_EQ(0, paper.ActiveLayerIndex());
    EXPECT_EQ(0u, paper.ActiveLayer()->Image()->Pixel(40, 30) >> 24) << "cleared to transparent";
    EXPECT_EQ(kNormalMode, paper.ActiveLayer()->Mode());
    EXPECT_EQ(0, p.image.loadedLayer);
    EXPECT_EQ(80, p.image.colour.Width());
    EXPECT_EQ(60, p.image.coverage.Height());
    EXPECT_EQ(80, paper.Composite().Width());
    EXPECT_EQ(60, paper.Layers().PaperHeight());
    EXPECT_FALSE(paper.CanUndo(0));
    EXPECT_FALSE(paper.CanRedo(0));
    EXPECT_FALSE(p.host.Modified());
    EXPECT_TRUE(paper.initialised);
    EXPECT_EQ(0, p.host.waitDepth) << "the wait cursor is back";
}

TEST(Paper, UndoAndRedoRefreshTheWorkImage)
{
    NewPaper p;
    TPaper &paper = *p.paper;
    const SExtent rect{10, 10, 20, 20};
    ASSERT_TRUE(paper.PushRegionUndo(0, rect, UndoKind::Fill));
    paper.ActiveLayer()->Image()->MaskedFill(rect, 0xFFFFFFFF, 0xFF204080);
    p.image.Reload(*paper.ActiveLayer(), 0);
    int32_t layer = 0;
    SEdgeRect changed;
    ASSERT_TRUE(paper.Undo(p.image, layer, changed));
    EXPECT_EQ(0, layer);
    EXPECT_EQ(ToEdge(rect).right, changed.right);
    EXPECT_EQ(paper.ActiveLayer()->Image()->Pixel(15, 15), p.image.colour.At(15, 15)) << "the work image follows the layer";
    ASSERT_FALSE(p.host.invalidated.empty());
    EXPECT_TRUE(paper.CanRedo(0));
    ASSERT_TRUE(paper.Redo(p.image, layer, changed));
    EXPECT_EQ(0xFF204080u, p.image.colour.At(15, 15));
    EXPECT_EQ(0, p.host.waitDepth);
}

TEST(Paper, PaperColourIsUndone)
{
    NewPaper p;
    p.paper->SetPaperColour(0x336699, true);
    EXPECT_EQ(0x336699u, p.paper->PaperColour());
    EXPECT_TRUE(p.host.Modified());
    int32_t layer = 0;
    SEdgeRect changed;
    ASSERT_TRUE(p.paper->Undo(p.image, layer, changed));
    EXPECT_EQ(0xFFFFFFu, p.paper->PaperColour());
}

TEST(Paper, UndoCountZeroKeepsNoHistory)
{
    RecordedMessages messages;
    NewPaper p(0);
    EXPECT_FALSE(p.paper->UndoEnabled());
    EXPECT_FALSE(p.paper->PushRegionUndo(0, {0, 0, 5, 5}, UndoKind::Fill));
    EXPECT_FALSE(p.paper->CanUndo(0));
    EXPECT_TRUE(messages.warnings.empty());
    ASSERT_TRUE(p.paper->SetUndoCount(5));
    EXPECT_TRUE(p.paper->PushRegionUndo(0, {0, 0, 5, 5}, UndoKind::Fill));
}

TEST(Paper, LegacyEngineUsesTheLayersOwnHistory)
{
    NewPaper p(8, DabEngine::Legacy);
    TPaper &paper = *p.paper;
    EXPECT_EQ(nullptr, paper.UndoManager());
    EXPECT_EQ(0, paper.ActiveLayer()->Mode());
    EXPECT_EQ(0xFFu, paper.ActiveLayer()->Image()->Pixel(0, 0) >> 24) << "legacy layers are opaque";
    ASSERT_TRUE(paper.PushRegionUndo(0, {0, 0, 8, 8}, UndoKind::LayerOwnRegion));
    paper.ActiveLayer()->Image()->MaskedFill({0, 0, 8, 8}, 0xFFFFFFFF, 0x80000000);
    EXPECT_TRUE(paper.CanUndo(0));
    int32_t layer = 0;
    SEdgeRect changed;
    ASSERT_TRUE(paper.Undo(p.image, layer, changed));
    EXPECT_EQ(0xFFu, paper.ActiveLayer()->Image()->Pixel(3, 3) >> 24);
    paper.ActiveLayer()->Image()->MaskedFill({0, 0, 8, 8}, 0xFFFFFFFF, 0x00000000);

    paper.RestoreCurrentEngine(p.image);
    ASSERT_NE(nullptr, paper.UndoManager());
    EXPECT_FALSE(paper.CanUndo(0)) << "the history starts empty";
    EXPECT_FALSE(paper.ActiveLayer()->WithUndo());
    EXPECT_EQ(0xFFu, paper.ActiveLayer()->Image()->Pixel(3, 3) >> 24) << "every layer fully opaque";
    EXPECT_EQ(0xFFu, p.image.colour.At(3, 3) >> 24);
}

TEST(Paper, ReallocatedWorkImageHoldsNoLayer)
{
    NewPaper p;
    TPaper &paper = *p.paper;
    ASSERT_GE(paper.Layers().AddLayer(1, 120, 90, kNormalMode, false, 255, true), 0);
    EXPECT_TRUE(paper.FitWorkImage(p.image, false));
    EXPECT_EQ(-1, p.image.loadedLayer) << "a blank image must not be committed as a layer's pixels";
    EXPECT_TRUE(paper.PrepareWorkImage(p.image, 0, false)) << "so the next use reloads";
    EXPECT_EQ(120, p.image.colour.Width()) << "and it never shrinks";
}

TEST(Paper, StrokeCommitsOnceAndUndoesAsOneRecord)
{
    NewPaper p;
    TPaper &paper = *p.paper;
    paper.SetDabEngine(DabEngine::Current, DotRenderer);
    const std::vector<uint32_t> before = Pixels(*paper.ActiveLayer()->Image());
    TStroke pen;
    pen.SetColor(0x123456);
    pen.SetMaxRadius(2);
    StrokeTrack track;
    ASSERT_TRUE(paper.BeginStroke(p.image, pen, track, 10, 10, 0.5f, true));
    for (float x : {20.0f, 30.0f, 40.0f})
        paper.AddStrokePoint(p.image, pen, track, x, 12, 0.5f, true);
    EXPECT_EQ(3, p.host.PointCounter());
    EXPECT_EQ(before, Pixels(*paper.ActiveLayer()->Image())) << "only the work image changes during the stroke";
    SExtent rect;
    ASSERT_TRUE(paper.EndStroke(p.image, pen, track, rect, true));
    EXPECT_EQ(0xFF123456u, paper.ActiveLayer()->Image()->Pixel(22, 11)) << "the smoothed samples were drawn";
    EXPECT_EQ(0, p.image.coverage.At(22, 11)) << "a pencil's coverage is cleared over the stroke";
    ASSERT_EQ(1, paper.UndoManager()->UndoCount());
    EXPECT_EQ(UndoKind::Stroke, paper.UndoManager()->PeekUndo()->kind);
    EXPECT_FALSE(paper.CanRedo(0));
    const std::vector<uint32_t> after = Pixels(*paper.ActiveLayer()->Image());

    int32_t layer = 0;
    SEdgeRect changed;
    ASSERT_TRUE(paper.Undo(p.image, layer, changed));
    EXPECT_EQ(before, Pixels(*paper.ActiveLayer()->Image()));
    EXPECT_EQ(0, paper.ActiveLayerIndex());
    EXPECT_EQ(paper.ActiveLayer()->Image()->Pixel(22, 11), p.image.colour.At(22, 11));
    ASSERT_TRUE(paper.Redo(p.image, layer, changed));
    EXPECT_EQ(after, Pixels(*paper.ActiveLayer()->Image()));

    // Replayed without record: committed all the same, no history.
    ASSERT_TRUE(paper.BeginStroke(p.image, pen, track, 5, 40, 1, false));
    paper.AddStrokePoint(p.image, pen, track, 7, 40, 1, false);
    paper.AddStrokePoint(p.image, pen, track, 9, 40, 1, false);
    ASSERT_TRUE(paper.EndStroke(p.image, pen, track, rect, false));
    EXPECT_EQ(0xFF123456u, paper.ActiveLayer()->Image()->Pixel(7, 40));
    EXPECT_EQ(1, paper.UndoManager()->UndoCount());
}

TEST(Paper, SelectionSlotsFollowThePaperSize)
{
    RecordingHost host;
    TStroke pen;
    TFlowImage image;
    auto paper = TPaper::CreatePaper(host, 8, pen);
    ASSERT_TRUE(paper->InitPaperWithSelection("", image, 120, 30));
    ASSERT_NE(nullptr, paper->Selection());
    ASSERT_TRUE(paper->Selection()->HasSlot(0));
    EXPECT_EQ(48, paper->Selection()->Slot(0)->thumbnail.Width());
    EXPECT_EQ(13, paper->Selection()->Slot(0)->thumbnail.Height()) << "48 x 30 / 120, plus one";
    paper->Selection()->Slot(3)->channel.Fill(255);
    paper->SetPaperSize(&image, 40, 50);
    EXPECT_EQ(40, paper->Selection()->Slot(3)->channel.Width());
    EXPECT_EQ(0, paper->Selection()->Slot(3)->channel.At(5, 5)) << "recreated zeroed";
    EXPECT_FALSE(paper->Selection()->HasSlot(4));
    EXPECT_EQ(0, paper->resolution);
    paper->SetDabEngine(DabEngine::Legacy, nullptr);
    paper->RestoreCurrentEngine(image);
    EXPECT_EQ(nullptr, paper->Selection()) << "the slots end with the replay that used them";
}

TEST(Paper, MemoryEstimateAddsEverything)
{
    NewPaper p;
    int64_t layers = 0, undo = 0;
    const int64_t base = p.paper->MemoryEstimate(layers, undo);
    p.paper->ActiveLayer()->Image()->WritePixel(1, 1, 0xFF000000);
    ASSERT_TRUE(p.paper->PushRegionUndo(0, {0, 0, 4, 4}, UndoKind::Fill));
    int64_t layers2 = 0, undo2 = 0;
    const int64_t after = p.paper->MemoryEstimate(layers2, undo2);
    EXPECT_EQ(4096, layers2 - layers) << "one tile got memory";
    EXPECT_EQ(4096, undo2 - undo) << "the record copied it";
    EXPECT_EQ(base + 8192, after);
    EXPECT_GE(base, int64_t(80) * 60 * 9);
}

TEST(Paper, CanvasTurnKeepsSerialsAndUndoes)
{
    NewPaper p;
    TPaper &paper = *p.paper;
    paper.ActiveLayer()->Image()->WritePixel(0, 0, 0xFF0000FF);
    const int32_t serial = paper.ActiveLayer()->serial;
    ASSERT_TRUE(paper.RotateCanvas(true));
    ASSERT_TRUE(paper.UndoManager()->PushStructureRecord(UndoKind::RotateCanvas, -1, {}, {1, 80, 60}));
    EXPECT_EQ(60, paper.Width());
    EXPECT_EQ(serial, paper.ActiveLayer()->serial);
    int32_t layer = 0;
    SEdgeRect changed;
    ASSERT_TRUE(paper.Undo(p.image, layer, changed));
    EXPECT_EQ(80, paper.Width());
    EXPECT_EQ(0xFF0000FFu, paper.ActiveLayer()->Image()->Pixel(0, 0));
}

} // namespace
} // namespace pv::test
