// Strokes in the recorder: the batches of 16 samples, the stroke-begin group, and the state
// packets that are written only when they change.
#include "RecorderFixture.h"

namespace pv::events::testing {
namespace {

using Ids = std::vector<PacketId>;

std::vector<StrokeSample> SamplesOf(const std::vector<Packet> &packets)
{
    std::vector<StrokeSample> samples;
    for (const Packet &p : packets) {
        if (p.group != 17 && p.group != 18)
            continue;
        const auto batch = DecodeStrokeSamples(p.code, p.payload);
        EXPECT_TRUE(batch);
        if (batch)
            samples.insert(samples.end(), batch->samples.begin(), batch->samples.end());
    }
    return samples;
}

TEST_F(RecorderTest, SeventeenSamplesAreOneStepOfTwoBatches)
{
    StartNewPaper();
    pen_.SetLayerIndex(3);
    paper_.selection = 2;
    const uint32_t before = recorder_.End();
    const int32_t steps = recorder_.StepCount();
    Stroke(17);
    EXPECT_EQ(recorder_.StepCount(), steps + 1);
    EXPECT_EQ(recorder_.StepStart(), recorder_.End());

    const std::vector<Packet> packets = PacketsFrom(before);
    EXPECT_EQ(IdsOf(packets), (Ids{PacketId::Current, PacketId::PenFlags, PacketId::PenColor, PacketId::PenSize,
                                   PacketId::PenParams, PacketId::StrokeBeginV2, PacketId::StrokePoints,
                                   PacketId::StrokeEnd}));
    const auto begin = DecodePayload<PacketId::StrokeBeginV2>(packets[5].payload);
    ASSERT_TRUE(begin);
    EXPECT_EQ(begin->layer, 3);
    EXPECT_EQ(begin->selection, 2);
    EXPECT_EQ(packets[6].code, 16);
    EXPECT_EQ(packets[7].code, 1);
    const std::vector<StrokeSample> samples = SamplesOf(packets);
    ASSERT_EQ(samples.size(), 17u);
    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_EQ(samples[i], (StrokeSample{float(i), float(i) + 1, 0.5f})) << i;
}

TEST_F(RecorderTest, StrokeBatchSizes)
{
    struct Case {
        int samples;
        std::vector<uint8_t> codes; // of the StrokePoints packets, then StrokeEnd
    };
    const Case cases[] = {
        {1, {1}},
        {15, {15}},
        {16, {16, 0}}, // pen up right after a full batch went out
        {32, {16, 16, 0}},
        {33, {16, 16, 1}},
    };
    StartNewPaper();
    for (const Case &c : cases) {
        const uint32_t before = recorder_.End();
        Stroke(c.samples);
        std::vector<uint8_t> codes;
        for (const Packet &p : PacketsFrom(before))
            if (p.group == 17 || p.group == 18)
                codes.push_back(p.code);
        EXPECT_EQ(codes, c.codes) << c.samples << " samples";
        EXPECT_EQ(PacketsFrom(before).back().group, 18);
    }
}

TEST_F(RecorderTest, AnOutlineStrokeUsesGroup24)
{
    StartNewPaper();
    pen_.SetNoSmoothing(true);
    const uint32_t before = recorder_.End();
    Stroke(3);
    EXPECT_EQ(CountOf(PacketsFrom(before), PacketId::StrokeBeginV2Outline), 1u);
}

TEST_F(RecorderTest, PenStateIsWrittenOnlyWhenItChanges)
{
    StartNewPaper();
    Stroke(5);
    uint32_t before = recorder_.End();
    Stroke(5, 10);
    EXPECT_EQ(IdsOf(PacketsFrom(before)), (Ids{PacketId::Current, PacketId::StrokeBeginV2, PacketId::StrokeEnd}));

    pen_.SetColor(0x00123456);
    pen_.SetMaxRadius(12);
    paper_.paperColour = 0x00EEEEEE;
    before = recorder_.End();
    Stroke(5, 20);
    const std::vector<Packet> packets = PacketsFrom(before);
    EXPECT_EQ(IdsOf(packets), (Ids{PacketId::PaperColor, PacketId::Current, PacketId::PenColor, PacketId::PenSize,
                                   PacketId::StrokeBeginV2, PacketId::StrokeEnd}));
    const auto colour = DecodePayload<PacketId::PenColor>(packets[2].payload);
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->color, 0x00123456u);
    const auto size = DecodePayload<PacketId::PenSize>(packets[3].payload);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->maxRadius, 12.0f);
}

TEST_F(RecorderTest, ASecondPenDownWhileAStrokeIsOpenIsRefused)
{
    StartNewPaper();
    ASSERT_TRUE(recorder_.BeginStroke(0, 0, 1));
    EXPECT_FALSE(recorder_.BeginStroke(5, 5, 1));
    ASSERT_TRUE(recorder_.EndStroke());
    EXPECT_EQ(SamplesOf(Packets()).size(), 1u);
}

} // namespace
} // namespace pv::events::testing
