// The stream around saving: the End marker is in what is written and never left in memory;
// a sealed save seals every PaperFlags packet of the written stream only; a played stream can
// be continued unless it is sealed.
#include "RecorderFixture.h"

#include <stdexcept>

namespace pv::events::testing {
namespace {

bool AnySealed(const std::vector<uint8_t> &stream)
{
    bool sealed = false;
    for (const Packet &p : Decode(stream))
        if (p.Is(PacketId::PaperFlags))
            sealed = sealed || (DecodePayload<PacketId::PaperFlags>(p.payload)->flags & paper_flags::kSealed);
    return sealed;
}

TEST_F(RecorderTest, SavingTwiceWritesEndAndLeavesNoEndInMemory)
{
    StartNewPaper();
    Stroke(20);
    const std::vector<uint8_t> before = recorder_.CopyStream();
    const int32_t steps = recorder_.StepCount();
    for (int save = 0; save < 2; ++save) {
        std::vector<uint8_t> written;
        ASSERT_TRUE(recorder_.SaveStream(false, [&] {
            written = recorder_.CopyStream();
            return true;
        }));
        ASSERT_FALSE(written.empty());
        EXPECT_TRUE(Decode(written).back().Is(PacketId::End));
        EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.end() - 2), before);
        EXPECT_EQ(recorder_.CopyStream(), before) << "save " << save;
        EXPECT_EQ(recorder_.StepCount(), steps);
        EXPECT_TRUE(recorder_.IsRecording());
    }
    // Recording goes on, and its state packets are still deduplicated.
    const uint32_t end = recorder_.End();
    Stroke(3);
    EXPECT_EQ(PacketsFrom(end).size(), 3u);
}

TEST_F(RecorderTest, ASealedSaveSealsOnlyTheWrittenStream)
{
    StartNewPaper();
    paper_.selectionEnabled = true; // a second PaperFlags packet
    Stroke(5);
    std::vector<uint8_t> written;
    ASSERT_TRUE(recorder_.SaveStream(true, [&] {
        written = recorder_.CopyStream();
        return true;
    }));
    size_t sealedPackets = 0;
    for (const Packet &p : Decode(written))
        if (p.Is(PacketId::PaperFlags))
            sealedPackets += (DecodePayload<PacketId::PaperFlags>(p.payload)->flags & paper_flags::kSealed) != 0;
    EXPECT_EQ(sealedPackets, 2u);
    EXPECT_FALSE(AnySealed(recorder_.CopyStream()));
    EXPECT_FALSE(recorder_.ScanPaperFlags(PaperFlagsScan::Check).bitFound);
}

TEST_F(RecorderTest, TheSealIsClearedWhenTheWriteFails)
{
    StartNewPaper();
    const std::vector<uint8_t> before = recorder_.CopyStream();
    EXPECT_FALSE(recorder_.SaveStream(true, [] { return false; }));
    EXPECT_EQ(recorder_.CopyStream(), before);
    EXPECT_FALSE(recorder_.SaveStream(true, []() -> bool { throw std::runtime_error("disk gone"); }));
    EXPECT_EQ(recorder_.CopyStream(), before);
    EXPECT_TRUE(recorder_.IsRecording());
}

// A played stream without any PaperFlags packet, continued by appending.
TEST_F(RecorderTest, ASealedSaveWithNothingToSealFails)
{
    std::vector<uint8_t> played;
    AppendPacket<PacketId::AppStatus>(played, {});
    AppendPacket<PacketId::NewPaper>(played, {64, 64, 350, 64, 64});
    AppendPacket<PacketId::End>(played, {});
    ASSERT_TRUE(recorder_.LoadStream(played, pen_, 40, false));
    recorder_.MarkPlaybackEnded();
    ASSERT_TRUE(recorder_.EnterAppendMode());
    const std::vector<uint8_t> before = recorder_.CopyStream();
    bool called = false;
    EXPECT_FALSE(recorder_.SaveStream(true, [&] { return called = true; }));
    EXPECT_FALSE(called);
    EXPECT_EQ(recorder_.CopyStream(), before);
    EXPECT_TRUE(recorder_.SaveStream(false, [&] { return called = true; }));
}

TEST_F(RecorderTest, TheScanStopsAtAnUnknownPacket)
{
    std::vector<uint8_t> played;
    AppendPacket<PacketId::AppStatus>(played, {});
    AppendPacket<PacketId::PaperFlags>(played, {paper_flags::kSelectionEnabled});
    played.insert(played.end(), {99, 7, 0, 0});
    ASSERT_TRUE(recorder_.LoadStream(played, pen_, 40, false));
    const PaperFlagsScanResult scan = recorder_.ScanPaperFlags(PaperFlagsScan::Set);
    EXPECT_FALSE(scan.ok);
    EXPECT_EQ(scan.paperFlagsPackets, 1u);
    EXPECT_EQ(messages_.warnings,
              std::vector<std::string>{"unknown packet at 0x14(0x63,0x7)\rlast code at 0x12(0x0,0xc)"});
    EXPECT_FALSE(recorder_.EnterAppendMode()) << "a stream that cannot be walked is not continued";
    EXPECT_EQ(recorder_.State(), RecorderState::Idle);
}

TEST_F(RecorderTest, StoppingTheRecordingAsksFirst)
{
    struct Case {
        std::vector<MessageAnswer> answers;
        bool stopped, saved;
    };
    const Case cases[] = {
        {{MessageAnswer::Cancel}, false, false},
        {{MessageAnswer::Ok, MessageAnswer::No}, true, false},
        {{MessageAnswer::Ok, MessageAnswer::Yes}, true, true},
    };
    for (const Case &c : cases) {
        StartNewPaper();
        messages_.answers = c.answers;
        bool saved = false;
        EXPECT_EQ(recorder_.AskAndStopRecording([&] { saved = recorder_.HasData(); }), c.stopped);
        EXPECT_EQ(recorder_.IsRecording(), !c.stopped);
        EXPECT_EQ(saved, c.saved) << "the events are saved before they are dropped";
        EXPECT_EQ(recorder_.HasData(), !c.stopped);
    }
    EXPECT_EQ(messages_.questions.front(), "ｲﾍﾞﾝﾄ記録を終了します。\r一度終了すると、記録を再開することはできません!");
    EXPECT_EQ(messages_.questions.back(), "今までのｲﾍﾞﾝﾄを保存しますか?");
}

class AppendTest : public RecorderTest {
protected:
    // A recording of a new paper and three strokes, as saved.
    std::vector<uint8_t> SavedRecording(bool sealed, std::vector<uint32_t> *stepEnds = nullptr)
    {
        StartNewPaper();
        for (int i = 0; i < 3; ++i) {
            Stroke(10 + i);
            if (stepEnds)
                stepEnds->push_back(recorder_.End());
        }
        std::vector<uint8_t> saved;
        EXPECT_TRUE(recorder_.SaveStream(sealed, [&] {
            saved = recorder_.CopyStream();
            return true;
        }));
        recorder_.Reset();
        return saved;
    }
};

TEST_F(AppendTest, APlayedStreamIsContinuedInFrontOfItsEnd)
{
    const std::vector<uint8_t> saved = SavedRecording(false);
    ASSERT_TRUE(recorder_.LoadStream(saved, pen_, 40, false));
    recorder_.SetPlaybackProgress(static_cast<uint32_t>(saved.size()), 6, false);
    recorder_.MarkPlaybackEnded();
    ASSERT_TRUE(recorder_.EnterAppendMode());
    EXPECT_TRUE(recorder_.IsRecording());
    EXPECT_TRUE(recorder_.Stopped());
    EXPECT_EQ(recorder_.End(), saved.size() - 2);
    EXPECT_EQ(recorder_.StepCount(), 5);

    const uint32_t end = recorder_.End();
    Stroke(4);
    // Nothing is taken as already written: the state the stroke needs is written again.
    EXPECT_EQ(CountOf(PacketsFrom(end), PacketId::PenColor), 1u);
    EXPECT_EQ(CountOf(PacketsFrom(end), PacketId::PaperFlags), 1u);
    EXPECT_EQ(CountOf(Packets(), PacketId::End), 0u);
    ASSERT_TRUE(recorder_.UndoStep());
    EXPECT_EQ(recorder_.End(), end);
}

TEST_F(AppendTest, PlaybackStoppedMidwayContinuesFromTheReadPosition)
{
    std::vector<uint32_t> stepEnds;
    const std::vector<uint8_t> saved = SavedRecording(false, &stepEnds);
    ASSERT_TRUE(recorder_.LoadStream(saved, pen_, 40, false));
    recorder_.SetPlaybackProgress(stepEnds[0], 3, true);
    ASSERT_TRUE(recorder_.EnterAppendMode());
    EXPECT_EQ(recorder_.End(), stepEnds[0]);
    EXPECT_EQ(recorder_.StepStart(), stepEnds[0]);
    EXPECT_EQ(recorder_.StepCount(), 3);
    Stroke(4);
    const std::vector<Packet> packets = Packets();
    EXPECT_EQ(CountOf(packets, PacketId::StrokeEnd), 2u);
    EXPECT_EQ(recorder_.SegmentCount(), 1u);
}

TEST_F(AppendTest, ASealedStreamIsNotContinued)
{
    const std::vector<uint8_t> saved = SavedRecording(true);
    ASSERT_TRUE(AnySealed(saved));
    for (bool sealedFlag : {false, true}) {
        messages_.warnings.clear();
        ASSERT_TRUE(recorder_.LoadStream(saved, pen_, 40, sealedFlag));
        recorder_.MarkPlaybackEnded();
        EXPECT_FALSE(recorder_.EnterAppendMode());
        EXPECT_EQ(recorder_.State(), RecorderState::Idle);
        EXPECT_FALSE(recorder_.HasData());
        EXPECT_EQ(messages_.warnings, std::vector<std::string>{
                                          "ｲﾍﾞﾝﾄ追記ﾓｰﾄﾞに移行できませんでした!\r以降のｲﾍﾞﾝﾄは記録されません..."});
    }
}

TEST_F(AppendTest, AppendingIsOnlyForAPlayedStream)
{
    StartNewPaper();
    EXPECT_FALSE(recorder_.EnterAppendMode());
    EXPECT_TRUE(recorder_.IsRecording());
}

} // namespace
} // namespace pv::events::testing
