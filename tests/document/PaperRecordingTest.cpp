// The paper and its recorder: a new paper's stream, a recorded stroke as one step and one
// undo record, and undo and redo moving pixels, records and recorder steps together.
#include "StackFixtures.h"
#include "UndoFixture.h"

#include "document/TPaper.h"
#include "events/PacketTable.h"
#include "events/StreamWalk.h"

#include <gtest/gtest.h>

namespace pv::test {
namespace {

using events::PacketId;

std::vector<uint16_t> PacketIds(const TPaper &paper)
{
    const std::vector<uint8_t> stream = paper.Events().CopyStream();
    std::vector<uint16_t> ids;
    EXPECT_TRUE(events::WalkStream(stream, [&](const events::PacketView &p) {
                    ids.push_back(uint16_t(p.group << 8 | p.code));
                    return true;
                }).valid());
    return ids;
}

size_t IndexOf(const std::vector<uint16_t> &ids, PacketId id, size_t from = 0)
{
    for (size_t i = from; i < ids.size(); ++i)
        if (ids[i] == uint16_t(id))
            return i;
    return ids.size();
}

struct RecordedPaper {
    RecordedPaper()
    {
        pen.SetMaxRadius(2);
        paper = TPaper::CreatePaper(host, 8, pen);
        EXPECT_TRUE(paper && paper->InitPaper("", image, 0, 64, 64, 64, 64));
    }
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage image;
    StrokeTrack track;
    std::unique_ptr<TPaper> paper;
};

TEST(PaperRecording, NewPaperStream)
{
    RecordedPaper p;
    const std::vector<uint16_t> ids = PacketIds(*p.paper);
    const size_t newPaper = IndexOf(ids, PacketId::NewPaper);
    const size_t time = IndexOf(ids, PacketId::RecordTime, newPaper);
    const size_t start = IndexOf(ids, PacketId::RecordStart, time);
    EXPECT_LT(start, ids.size()) << "NewPaper, then RecordTime, then RecordStart";
    EXPECT_EQ(uint16_t(PacketId::AppStatus), ids.front());
    EXPECT_EQ(2, p.paper->Events().StepCount());
    EXPECT_FALSE(p.paper->CanUndo(0));
}

TEST(PaperRecording, StrokeIsOneStepAndOneRecord)
{
    RecordedPaper p;
    TPaper &paper = *p.paper;
    const int32_t stepsBefore = paper.Events().StepCount();
    const std::vector<uint32_t> before = Pixels(*paper.ActiveLayer()->Image());
    ASSERT_TRUE(paper.BeginStroke(p.image, p.pen, p.track, 4, 4, 0.5f, true));
    for (int i = 1; i <= 16; ++i)
        paper.AddStrokePoint(p.image, p.pen, p.track, 4.0f + float(i) * 2, 4, 0.5f, true);
    SExtent rect;
    ASSERT_TRUE(paper.EndStroke(p.image, p.pen, p.track, rect, true));

    EXPECT_EQ(stepsBefore + 1, paper.Events().StepCount());
    const std::vector<uint16_t> ids = PacketIds(paper);
    const size_t begin = IndexOf(ids, PacketId::StrokeBeginV2);
    ASSERT_LT(begin, ids.size()) << "a smoothed stroke opens with group 23";
    ASSERT_LT(begin + 2, ids.size());
    EXPECT_EQ(uint16_t(uint8_t(events::PacketGroup::StrokePoints) << 8 | 16), ids[begin + 1]);
    EXPECT_EQ(uint16_t(uint8_t(events::PacketGroup::StrokeEnd) << 8 | 1), ids[begin + 2]) << "17 samples: 16 + 1";

    ASSERT_EQ(1, paper.UndoManager()->UndoCount());
    EXPECT_EQ(UndoKind::Stroke, paper.UndoManager()->PeekUndo()->kind);

    int32_t layer = 0;
    SEdgeRect changed;
    ASSERT_TRUE(paper.Undo(p.image, layer, changed));
    EXPECT_EQ(before, Pixels(*paper.ActiveLayer()->Image()));
    EXPECT_EQ(stepsBefore, paper.Events().StepCount()) << "the recorder stepped back with the pixels";
    EXPECT_EQ(1, paper.UndoManager()->RedoCount());
    ASSERT_TRUE(paper.Redo(p.image, layer, changed));
    EXPECT_EQ(stepsBefore + 1, paper.Events().StepCount());

    // A new operation after an undo drops what could have been redone, on both sides.
    ASSERT_TRUE(paper.Undo(p.image, layer, changed));
    paper.SetPaperColour(0x102030, true);
    EXPECT_FALSE(paper.CanRedo(0));
    EXPECT_EQ(0u, paper.Events().RingRedoCount());
    ASSERT_TRUE(paper.Undo(p.image, layer, changed));
    EXPECT_EQ(0xFFFFFFu, paper.PaperColour());
    EXPECT_EQ(stepsBefore, paper.Events().StepCount());
}

TEST(PaperRecording, UndoCountChangesResizeTheRing)
{
    RecordedPaper p;
    ASSERT_TRUE(p.paper->SetUndoCount(0));
    EXPECT_FALSE(p.paper->UndoEnabled());
    EXPECT_FALSE(p.paper->PushRegionUndo(0, {0, 0, 4, 4}, UndoKind::Fill));
    ASSERT_TRUE(p.paper->SetUndoCount(20));
    EXPECT_TRUE(p.paper->UndoEnabled());
    p.paper->ClearUndo();
    EXPECT_EQ(0u, p.paper->Events().RingUndoCount()) << "the recorder forgets its undo positions";
    EXPECT_GE(p.paper->Events().StepCount(), 2) << "and keeps its step count";
}

TEST(PaperRecording, NoRecorderNoPaper)
{
    HeadlessPaperHost host;
    TStroke pen;
    events::RecorderOptions noMemory;
    noMemory.allocate = [](size_t) { return std::unique_ptr<uint8_t[]>(); };
    EXPECT_EQ(nullptr, TPaper::CreatePaper(host, 8, pen, noMemory)) << "never a paper that records into nothing";
}

} // namespace
} // namespace pv::test
