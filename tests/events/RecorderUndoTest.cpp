// The stream follows the paper's undo history: undone steps leave the stream but stay for a
// redo, their state packets are written again by the next operation, and a new operation
// after an undo overwrites what could have been redone.
#include "RecorderFixture.h"

namespace pv::events::testing {
namespace {

using Ids = std::vector<PacketId>;

struct Position {
    uint32_t end, stepStart;
    int32_t steps;
    bool operator==(const Position &) const = default;
};

Position PositionOf(const CEventMngr &r) { return {r.End(), r.StepStart(), r.StepCount()}; }

TEST_F(RecorderTest, UndoThenRedoRestoresTheStreamExactly)
{
    StartNewPaper();
    Stroke(20);
    const Position afterFirst = PositionOf(recorder_);
    Stroke(40, 5);
    const Position afterSecond = PositionOf(recorder_);
    const std::vector<uint8_t> stream = recorder_.CopyStream();

    ASSERT_TRUE(recorder_.UndoStep());
    EXPECT_EQ(PositionOf(recorder_), afterFirst);
    ASSERT_TRUE(recorder_.UndoStep());
    ASSERT_TRUE(recorder_.RedoStep());
    EXPECT_EQ(PositionOf(recorder_), afterFirst);
    ASSERT_TRUE(recorder_.RedoStep());
    EXPECT_EQ(PositionOf(recorder_), afterSecond);
    EXPECT_EQ(recorder_.CopyStream(), stream);
    EXPECT_FALSE(recorder_.RedoStep()) << "nothing left to redo";
}

TEST_F(RecorderTest, UndoingAStrokeRemovesItsStatePacketsAndTheNextOperationRewritesThem)
{
    StartNewPaper();
    const uint32_t before = recorder_.End();
    Stroke(20); // this step carries the first pen state
    ASSERT_TRUE(recorder_.UndoStep());
    EXPECT_EQ(recorder_.End(), before);
    EXPECT_EQ(recorder_.SentFlags() & SentBit(StateKind::PenColor), 0u);
    EXPECT_NE(recorder_.SentFlags() & SentBit(StateKind::PaperColor), 0u) << "written in an earlier step";

    recorder_.DiscardRedo();
    Stroke(3);
    EXPECT_EQ(IdsOf(PacketsFrom(before)), (Ids{PacketId::Current, PacketId::PenFlags, PacketId::PenColor,
                                               PacketId::PenSize, PacketId::PenParams, PacketId::StrokeBeginV2,
                                               PacketId::StrokeEnd}));
}

TEST_F(RecorderTest, ANewOperationAfterAnUndoDiscardsTheRedoSide)
{
    StartNewPaper();
    Stroke(5);
    Stroke(5);
    ASSERT_TRUE(recorder_.UndoStep());
    EXPECT_EQ(recorder_.RingRedoCount(), 2u);
    // Even when the paper forgets to discard its redo history first.
    ASSERT_TRUE((recorder_.RecordDocumentCommand<PacketId::ClearLayer>({0, 0})));
    EXPECT_EQ(recorder_.RingRedoCount(), 0u);
    EXPECT_FALSE(recorder_.RedoStep());
    const std::vector<Packet> packets = Packets();
    EXPECT_EQ(packets.back().offset + 2 + packets.back().payload.size(), recorder_.End());
    EXPECT_EQ(CountOf(packets, PacketId::StrokeEnd), 1u);
}

TEST_F(RecorderTest, ClearUndoResetsTheRingAndKeepsTheStepCount)
{
    StartNewPaper();
    Stroke(5);
    Stroke(5);
    recorder_.ClearUndo();
    EXPECT_EQ(recorder_.StepCount(), 4);
    EXPECT_EQ(recorder_.RingUndoCount(), 0u);
    EXPECT_FALSE(recorder_.UndoStep()) << "the steps before are no longer undoable";

    const Position before = PositionOf(recorder_);
    Stroke(5);
    EXPECT_EQ(recorder_.StepCount(), 5);
    ASSERT_TRUE(recorder_.UndoStep());
    EXPECT_EQ(PositionOf(recorder_), before);
}

TEST_F(RecorderTest, TheChecksBeforeUndoAndRedo)
{
    StartNewPaper();
    Stroke(5);
    EXPECT_TRUE(recorder_.CheckBeforeUndo(recorder_.RingUndoCount(), nullptr));
    EXPECT_TRUE(messages_.information.empty());
    // More undoable operations than the ring knows: the undo history is trimmed.
    EXPECT_TRUE(recorder_.CheckBeforeUndo(recorder_.RingUndoCount() + 5, [&] { return recorder_.RingUndoCount(); }));
    EXPECT_EQ(messages_.information, std::vector<std::string>{"ｲﾍﾞﾝﾄ状態の問題を修正しました!"});
    EXPECT_FALSE(recorder_.CheckBeforeUndo(recorder_.RingUndoCount() + 5, [&] { return recorder_.RingUndoCount() + 1; }));
    EXPECT_EQ(messages_.warnings, std::vector<std::string>{"ｲﾍﾞﾝﾄ記録に問題が検出されました!"});

    ASSERT_TRUE(recorder_.UndoStep());
    EXPECT_TRUE(recorder_.CheckBeforeRedo(1));
    EXPECT_FALSE(recorder_.CheckBeforeRedo(2));
}

TEST_F(RecorderTest, ResizingTheRingKeepsTheNewestSteps)
{
    StartNewPaper();
    for (int i = 0; i < 20; ++i)
        Stroke(3);
    ASSERT_TRUE(recorder_.ResizeRing(0)); // 34 on each side
    const Position before = PositionOf(recorder_);
    Stroke(3);
    ASSERT_TRUE(recorder_.UndoStep());
    EXPECT_EQ(PositionOf(recorder_), before);
}

} // namespace
} // namespace pv::events::testing
