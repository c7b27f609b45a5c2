// State that the recorder writes for the pen's tone and gradation, and the packets that
// carry coverage channels: what is written, in which form, and when it is written again.
#include "RecorderFixture.h"

#include "pixkit.h"
#include "raster/TChannel.h"

namespace pv::events::testing {
namespace {

using Ids = std::vector<PacketId>;

class ToneTest : public RecorderTest {
protected:
    ToneTest()
    {
        TonePatternSource tone;
        tone.record.patternId = 77;
        tone.record.patternType = 0;
        tone.record.width = 8;
        tone.record.height = 4;
        tone.record.third = 5, tone.record.first = 6, tone.record.second = 7;
        tone.record.name = "網点";
        paper_.tone = tone;
        for (int i = 0; i < 32; ++i)
            paper_.tonePixels.push_back(uint8_t(i * 8));
    }
};

TEST_F(ToneTest, APatternIsDefinedOnceThenOnlyItsAttributesFollow)
{
    StartNewPaper();
    pen_.SetUseTone(true, false);
    uint32_t before = recorder_.End();
    Stroke(2);
    std::vector<Packet> packets = PacketsFrom(before);
    EXPECT_EQ(IdsOf(packets), (Ids{PacketId::Current, PacketId::PaperFlags, PacketId::ToneDefine, PacketId::PenFlags,
                                   PacketId::PenColor, PacketId::PenSize, PacketId::PenParams,
                                   PacketId::StrokeBeginV2, PacketId::StrokeEnd}));
    const auto define = DecodePayload<PacketId::ToneDefine>(packets[2].payload);
    ASSERT_TRUE(define);
    EXPECT_EQ(define->patternId, 77u);
    EXPECT_EQ(define->name, "網点");
    EXPECT_EQ(define->uncompressedSize, 32u);
    std::vector<uint8_t> pixels(32);
    ASSERT_EQ(pixkitDecompress(define->compressed.data(), define->compressed.size(), pixels.data(), pixels.size()),
              PIXKIT_DECODE_OK);
    EXPECT_EQ(pixels, paper_.tonePixels);

    before = recorder_.End();
    Stroke(2);
    EXPECT_EQ(CountOf(PacketsFrom(before), PacketId::ToneDefine) + CountOf(PacketsFrom(before), PacketId::ToneAttr), 0u);

    paper_.tone->record.flags = ToneDefineRecord::kOptionFlag;
    paper_.tone->record.first = -3;
    before = recorder_.End();
    Stroke(2);
    packets = PacketsFrom(before);
    ASSERT_EQ(CountOf(packets, PacketId::ToneAttr), 1u);
    const auto attr = DecodePayload<PacketId::ToneAttr>(packets[1].payload);
    ASSERT_TRUE(attr);
    EXPECT_EQ(attr->patternId, 77u);
    EXPECT_EQ(attr->flags, 1);
    EXPECT_EQ(attr->first, -3);
    EXPECT_EQ(attr->third, 5);
}

TEST_F(ToneTest, UndoingADefinitionDefinesThePatternAgain)
{
    StartNewPaper();
    pen_.SetUseTone(true, false);
    Stroke(2);
    ASSERT_TRUE(recorder_.UndoStep());
    const uint32_t before = recorder_.End();
    Stroke(2);
    EXPECT_EQ(CountOf(PacketsFrom(before), PacketId::ToneDefine), 1u);
}

TEST_F(ToneTest, APatternOfAnUnknownTypeIsNotRecorded)
{
    StartNewPaper();
    pen_.SetUseTone(true, false);
    paper_.tone->record.patternType = 2;
    EXPECT_FALSE(recorder_.BeginStroke(0, 0, 1));
    EXPECT_FALSE(recorder_.EventDataValid());
}

TEST_F(RecorderTest, GradationColoursFollowThePenOrAGradationFill)
{
    StartNewPaper();
    uint32_t before = recorder_.End();
    ASSERT_TRUE(recorder_.RecordPenCommand<PacketId::FillGradation>({0, 0, {}, {}}));
    std::vector<Packet> packets = PacketsFrom(before);
    ASSERT_EQ(CountOf(packets, PacketId::GradationColors), 1u);
    EXPECT_TRUE(packets.back().Is(PacketId::FillGradation));

    // The pen using the gradation needs the same colours: nothing new.
    pen_.SetUseGradation(true, false);
    before = recorder_.End();
    Stroke(2);
    EXPECT_EQ(CountOf(PacketsFrom(before), PacketId::GradationColors), 0u);

    paper_.slots[3] = 99;
    paper_.entryForm.repeat = 4;
    before = recorder_.End();
    Stroke(2);
    packets = PacketsFrom(before);
    ASSERT_EQ(CountOf(packets, PacketId::GradationColors), 1u);
    for (const Packet &p : packets) {
        if (!p.Is(PacketId::GradationColors))
            continue;
        const auto colours = DecodePayload<PacketId::GradationColors>(p.payload);
        ASSERT_TRUE(colours);
        EXPECT_EQ(colours->slots, paper_.slots);
        EXPECT_EQ(colours->form.repeat, 4);
    }
}

TEST_F(RecorderTest, AChannelIsStoredInsideItsBoxOfCoverage)
{
    StartNewPaper();
    TChannel coverage(64, 48);
    coverage.Fill(0);
    for (int32_t y = 20; y < 25; ++y)
        for (int32_t x = 10; x < 30; ++x)
            coverage.At(x, y) = uint8_t(x + y);
    ChannelFillArgs args;
    args.layer = 1;
    args.layerSize = {64, 48};
    args.setting1 = 1;
    paper_.selection = 3;
    const uint32_t before = recorder_.End();
    ASSERT_TRUE(recorder_.RecordChannelFill(0, args, coverage));
    const std::vector<Packet> packets = PacketsFrom(before);
    ASSERT_TRUE(packets.back().Is(PacketId::BucketFill));
    EXPECT_EQ(CountOf(packets, PacketId::PenColor), 1u) << "fills follow the pen prefix";
    const auto record = DecodePayload<PacketId::BucketFill>(packets.back().payload);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->area, (Rect{10, 20, 30, 25}));
    EXPECT_EQ(record->selection, 3);
    EXPECT_EQ(record->layerSize, (Point{64, 48}));
    EXPECT_EQ(record->channelKind, 0);
    ASSERT_EQ(record->uncompressedSize, 100u);
    std::vector<uint8_t> bytes(100);
    ASSERT_EQ(pixkitDecompress(record->compressed.data(), record->compressed.size(), bytes.data(), bytes.size()),
              PIXKIT_DECODE_OK);
    EXPECT_EQ(bytes[0], 30);       // (10, 20)
    EXPECT_EQ(bytes[99], 29 + 24); // (29, 24)
}

TEST_F(RecorderTest, EachChannelCodeHasItsKindAndRecordForm)
{
    struct Case {
        uint8_t code;
        uint8_t kind;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {2, 4}, {3, 5}};
    StartNewPaper();
    TChannel coverage(8, 8);
    coverage.Fill(0);
    coverage.At(1, 6) = 9;
    ChannelFillArgs args;
    args.geometry[2] = GeometryValue::FromPoint({4, 5});
    for (const Case &c : cases) {
        ASSERT_TRUE(recorder_.RecordChannelFill(c.code, args, coverage));
        const Packet last = Packets().back();
        ASSERT_EQ(last.code, c.code);
        if (c.code < 2) {
            const auto record = DecodePayload<ChannelRecord>(last.payload);
            ASSERT_TRUE(record);
            EXPECT_EQ(record->channelKind, c.kind);
            EXPECT_EQ(record->area, (Rect{1, 6, 2, 7}));
        } else {
            const auto record = DecodePayload<ChannelRecordEx>(last.payload);
            ASSERT_TRUE(record);
            EXPECT_EQ(record->channelKind, c.kind);
            EXPECT_EQ(record->area, (Rect{1, 6, 2, 7}));
            EXPECT_EQ(record->geometry[2].AsPoint(), (Point{4, 5}));
        }
    }
    // Text and colour ranges have entries of their own, which write their state first.
    EXPECT_FALSE(recorder_.RecordChannelFill(16, args, coverage));
}

TEST_F(RecorderTest, PenCommandsCarryThePenStateAndDocumentCommandsDoNot)
{
    StartNewPaper();
    Stroke(2);
    pen_.SetColor(0x000000FF);
    uint32_t before = recorder_.End();
    ASSERT_TRUE(recorder_.RecordDocumentCommand<PacketId::NewLayer>({1, 640, 480, 3, 255, 1}));
    EXPECT_EQ(IdsOf(PacketsFrom(before)), (Ids{PacketId::Current, PacketId::NewLayer}));
    before = recorder_.End();
    ASSERT_TRUE(recorder_.RecordPenCommand<PacketId::FilterGaussianBlur>({1, 0, {3, 0}}));
    EXPECT_EQ(IdsOf(PacketsFrom(before)), (Ids{PacketId::Current, PacketId::PenColor, PacketId::FilterGaussianBlur}));
}

TEST_F(RecorderTest, AnEmptyChannelIsRecordedOnlyWhenItBecomesTheSelection)
{
    StartNewPaper();
    TChannel empty(16, 16);
    empty.Fill(0);
    const int32_t steps = recorder_.StepCount();
    ASSERT_TRUE(recorder_.RecordChannelFill(0, {}, empty));
    EXPECT_EQ(recorder_.StepCount(), steps);
    ASSERT_TRUE(recorder_.RecordChannelFill(1, {}, empty));
    EXPECT_EQ(recorder_.StepCount(), steps + 1);
    const auto wand = DecodePayload<PacketId::WandSelect>(Packets().back().payload);
    ASSERT_TRUE(wand);
    EXPECT_EQ(wand->area, Rect{});
    EXPECT_EQ(wand->uncompressedSize, 0u);
}

TEST_F(RecorderTest, TextAndColourRangeCarryTheirStateBeforeTheChannel)
{
    StartNewPaper();
    TChannel coverage(8, 8);
    coverage.Fill(0);
    coverage.At(2, 3) = 200;
    FontRecord font;
    font.font.faceName = "ＭＳ ゴシック";
    font.charSpacing = 2;
    uint32_t before = recorder_.End();
    ASSERT_TRUE(recorder_.RecordText(16, font, "あいう", {}, coverage));
    EXPECT_EQ(IdsOf(PacketsFrom(before)).back(), PacketId::TextFill);
    std::vector<Packet> packets = PacketsFrom(before);
    const auto text = DecodePayload<PacketId::Text>(packets[packets.size() - 2].payload);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, "あいう");
    EXPECT_FALSE(recorder_.RecordText(18, font, "x", {}, coverage)) << "only codes 16 and 17";

    recorder_.Reset();
    StartNewPaper();
    ColorRangeRecord range;
    range.entries.push_back({0xFF102030, 1, 12});
    before = recorder_.End();
    ASSERT_TRUE(recorder_.RecordColorRange(range, {}, coverage));
    packets = PacketsFrom(before);
    ASSERT_GE(packets.size(), 2u);
    EXPECT_TRUE(packets[packets.size() - 2].Is(PacketId::ColorRange));
    EXPECT_TRUE(packets.back().Is(PacketId::ColorRangeSelect));
    EXPECT_EQ(DecodePayload<PacketId::ColorRangeSelect>(packets.back().payload)->channelKind, 6);
}

} // namespace
} // namespace pv::events::testing
