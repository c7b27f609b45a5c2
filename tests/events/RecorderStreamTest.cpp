// The recorder's stream: what a new paper writes, packets split over segments, a stream that
// outgrows its first reservation, and what a failed write leaves behind.
#include "RecorderFixture.h"

#include "raster/TTC.h"

namespace pv::events::testing {
namespace {

using Ids = std::vector<PacketId>;

TEST_F(RecorderTest, ANewPaperWritesItsSetUpAsTwoSteps)
{
    StartNewPaper();
    const std::vector<Packet> packets = Packets();
    EXPECT_EQ(IdsOf(packets), (Ids{PacketId::AppStatus, PacketId::NewPaper, PacketId::PaperColor, PacketId::SubColor,
                                   PacketId::GradationPoints, PacketId::GradationForm, PacketId::Current,
                                   PacketId::PaperFlags, PacketId::RecordTime, PacketId::RecordStart}));
    const auto status = DecodePayload<PacketId::AppStatus>(packets[0].payload);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Version(), 305);
    const auto paper = DecodePayload<PacketId::NewPaper>(packets[1].payload);
    ASSERT_TRUE(paper);
    EXPECT_EQ(paper->paperWidth, 640);
    EXPECT_EQ(paper->layerWidth, 640);
    const auto time = DecodeRecordTime(packets[8].payload);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->year, 2026);
    EXPECT_EQ(time->milliseconds, 6);

    const std::vector<uint8_t> stream = recorder_.CopyStream();
    EXPECT_EQ(SplitSteps(stream).stepEnds, (std::vector<uint64_t>{packets[2].offset, stream.size()}));
    EXPECT_EQ(recorder_.StepCount(), 2);
    EXPECT_EQ(recorder_.StepStart(), recorder_.End());
    EXPECT_EQ(recorder_.SegmentCount(), 1u);
}

TEST_F(RecorderTest, NothingIsWrittenWhileNotRecording)
{
    EXPECT_TRUE(recorder_.RecordNewPaper({640, 480, 350, 480, 640}));
    EXPECT_TRUE(recorder_.BeginStroke(1, 2, 3));
    EXPECT_EQ(recorder_.End(), 0u);
    EXPECT_FALSE(recorder_.HasData());
    EXPECT_TRUE(recorder_.EventDataValid());
}

TEST_F(RecorderTest, SelectionToLayerIsOneStepOfTwoPackets)
{
    StartNewPaper();
    const uint32_t before = recorder_.End();
    const int32_t steps = recorder_.StepCount();
    ASSERT_TRUE(recorder_.RecordSelectionToLayer({0, 1}, {0, 1, 2, 0}));
    EXPECT_EQ(recorder_.StepCount(), steps + 1);
    EXPECT_EQ(IdsOf(PacketsFrom(before)), (Ids{PacketId::Current, PacketId::SelectionToLayer,
                                               PacketId::SelectionToLayerDone}));
    ASSERT_TRUE(recorder_.UndoStep());
    EXPECT_EQ(recorder_.End(), before);
}

TEST_F(RecorderTest, APacketThatDisagreesWithTheLengthRuleIsRefused)
{
    StartNewPaper();
    const uint32_t before = recorder_.End();
    const uint8_t fixed[3] = {1, 2, 3}; // ShowAllLayers has a 4-byte payload
    EXPECT_FALSE(recorder_.WritePacketAndCommit(2, 24, fixed));
    EXPECT_EQ(recorder_.End(), before);
    EXPECT_FALSE(recorder_.EventDataValid());
}

TEST_F(RecorderTest, AVariablePartLargerThanASegmentIsWrittenInPieces)
{
    StartNewPaper();
    TTC image(200, 100); // bottom-up rows, 80,000 bytes of pixels
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 200; ++x)
            image.At(x, y) = uint32_t(y) << 16 | uint32_t(x);
    const std::vector<uint32_t> original(image.RowPixels(99), image.RowPixels(99) + 200 * 100);
    uint8_t placement[ImageRecord::kExtraSize];
    for (size_t i = 0; i < sizeof placement; ++i)
        placement[i] = uint8_t(i);

    const uint32_t before = recorder_.End();
    ASSERT_TRUE(recorder_.RecordImage(PacketId::PasteIntoLayer, 2, image, placement, "貼り付け"));
    EXPECT_EQ(recorder_.SegmentCount(), 2u);
    const std::vector<Packet> packets = PacketsFrom(before);
    ASSERT_EQ(IdsOf(packets), (Ids{PacketId::Current, PacketId::PasteIntoLayer}));
    const auto record = DecodePayload<PacketId::PasteIntoLayer>(packets[1].payload);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->layer, 2);
    EXPECT_EQ(record->size, (Point{200, 100}));
    EXPECT_EQ(record->name, "貼り付け");
    EXPECT_TRUE(record->hasExtra);
    EXPECT_TRUE(std::equal(placement, placement + sizeof placement, record->extra));
    ASSERT_EQ(record->pixels.size(), 80000u);
    for (int32_t y : {0, 1, 99}) { // top row first
        uint32_t pixel;
        std::memcpy(&pixel, record->pixels.data() + (size_t(y) * 200 + 7) * 4, 4);
        EXPECT_EQ(pixel, uint32_t(y) << 16 | 7u) << "row " << y;
    }
    EXPECT_TRUE(std::equal(original.begin(), original.end(), image.RowPixels(99))) << "the image was changed";
}

TEST_F(RecorderTest, TheFloorFilterWritesItsTexturesFirst)
{
    StartNewPaper();
    TMTC first(4, 2), second(2, 2);
    first.Fill(0xFF010203);
    second.Fill(0xFF040506);
    const FloorTexture a{first, "床"}, b{second, ""};
    FilterRecordRecord floor;
    floor.layer = 1;
    floor.data.assign(63, 1);
    struct Case {
        const FloorTexture *a, *b;
        Ids tail;
    };
    const Case cases[] = {
        {&a, &b, {PacketId::ImageA, PacketId::ImageB, PacketId::FilterFloor}},
        {nullptr, &b, {PacketId::ImageB, PacketId::FilterFloor}},
        {nullptr, nullptr, {PacketId::FilterFloor}},
    };
    for (const Case &c : cases) {
        const uint32_t before = recorder_.End();
        ASSERT_TRUE(recorder_.RecordFloorFilter(floor, c.a, c.b));
        Ids ids = IdsOf(PacketsFrom(before));
        ids.erase(ids.begin(), ids.end() - c.tail.size());
        EXPECT_EQ(ids, c.tail);
    }
    const std::vector<Packet> packets = Packets();
    const Packet &imageA = packets[packets.size() - 8]; // the first case's, before 3 + 2 packets
    ASSERT_TRUE(imageA.Is(PacketId::ImageA));
    const auto texture = DecodePayload<PacketId::ImageA>(imageA.payload);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->name, "床");
    EXPECT_EQ(texture->size, (Point{4, 2}));
    EXPECT_EQ(texture->pixels[0], 0x03);
}

class SmallSegmentRecorderTest : public RecorderTest {
protected:
    SmallSegmentRecorderTest() : RecorderTest(256, 1024) {}
};

TEST_F(SmallSegmentRecorderTest, TheStreamGrowsPastItsFirstReservation)
{
    StartNewPaper();
    for (int i = 0; i < 200; ++i)
        Stroke(20, float(i));
    EXPECT_GT(recorder_.SegmentCount(), 10u) << "the first reservation is 10 segments";
    EXPECT_EQ(recorder_.Capacity(), recorder_.SegmentCount() * 256u);
    const std::vector<Packet> packets = Packets();
    EXPECT_EQ(CountOf(packets, PacketId::StrokeEnd), 200u);
    EXPECT_EQ(recorder_.StepCount(), 202);
    EXPECT_TRUE(recorder_.EventDataValid());
}

TEST_F(SmallSegmentRecorderTest, AFailedSegmentStopsTheRecordingAndLeavesThePacketOut)
{
    StartNewPaper();
    const uint32_t capacity = static_cast<uint32_t>(recorder_.Capacity());
    // Fill the stream up to a few bytes before the end of its last segment.
    while (capacity - recorder_.End() >= 12)
        ASSERT_TRUE((recorder_.RecordDocumentCommand<PacketId::ShowAllLayers>({0, 1})));
    ASSERT_EQ(recorder_.Capacity(), capacity);
    const uint32_t before = recorder_.End();
    const int32_t steps = recorder_.StepCount();
    refuseSegments_ = true;
    EXPECT_FALSE((recorder_.RecordDocumentCommand<PacketId::ShowAllLayers>({0, 1})));
    EXPECT_FALSE(recorder_.IsRecording());
    EXPECT_FALSE(recorder_.EventDataValid());
    EXPECT_FALSE(recorder_.HasData());
    EXPECT_EQ(recorder_.StepCount(), steps);
    EXPECT_LE(recorder_.End() - before, 6u) << "only the Current packet fits";
    EXPECT_EQ(CountOf(Packets(), PacketId::ShowAllLayers), size_t(steps - 2));
    EXPECT_EQ(messages_.warnings,
              std::vector<std::string>{"ｲﾍﾞﾝﾄ記録中に例外が発生しました!\r以降のｲﾍﾞﾝﾄ記録は停止します..."});
    // Later operations are not recorded, and the stream cannot be saved.
    refuseSegments_ = false;
    EXPECT_TRUE((recorder_.RecordDocumentCommand<PacketId::ShowAllLayers>({0, 1})));
    EXPECT_EQ(recorder_.StepCount(), steps);
    EXPECT_FALSE(recorder_.SaveStream(false, [] { return true; }));
}

TEST_F(SmallSegmentRecorderTest, AStrokeWhosePenDownFailsWritesNoSamples)
{
    StartNewPaper();
    const uint32_t capacity = static_cast<uint32_t>(recorder_.Capacity());
    // Less room than the pen state needs (54 bytes with Current).
    while (capacity - recorder_.End() >= 40)
        ASSERT_TRUE((recorder_.RecordDocumentCommand<PacketId::ShowAllLayers>({0, 1})));
    const int32_t steps = recorder_.StepCount();
    refuseSegments_ = true;
    EXPECT_FALSE(recorder_.BeginStroke(1, 1, 1));
    refuseSegments_ = false;
    for (int i = 0; i < 40; ++i)
        recorder_.AddStrokeSample(float(i), 0, 1);
    recorder_.EndStroke();
    const std::vector<Packet> packets = Packets();
    EXPECT_EQ(CountOf(packets, PacketId::StrokeBeginV2), 0u);
    EXPECT_EQ(CountOf(packets, PacketId::StrokePoints), 0u);
    EXPECT_EQ(CountOf(packets, PacketId::StrokeEnd), 0u);
    EXPECT_EQ(recorder_.StepCount(), steps);
    EXPECT_FALSE(recorder_.StrokeOpen());
    EXPECT_FALSE(recorder_.EventDataValid());
}

TEST_F(RecorderTest, StartingFailsWithoutAFirstSegment)
{
    refuseSegments_ = true;
    EXPECT_FALSE(recorder_.StartRecording(pen_, 40));
    EXPECT_EQ(recorder_.State(), RecorderState::Idle);
    EXPECT_FALSE(recorder_.HasData());
}

} // namespace
} // namespace pv::events::testing
