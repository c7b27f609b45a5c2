// Payload records: every packet of the table encodes to the length its rule gives and decodes
// back to the same bytes; then the layouts whose details files depend on.
#include "events/PacketCodec.h"
#include "events/StreamWalk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pv::events {
namespace {

using Bytes = std::vector<uint8_t>;

// Encodes the record as a packet, checks that a walk finds exactly one packet of the encoded
// length, decodes it and re-encodes the result: the bytes must be the same.
template <class Record>
void ExpectRoundTrip(uint8_t group, uint8_t code, const Record &record, const char *name)
{
    Bytes stream;
    ASSERT_TRUE(AppendPacket(stream, group, code, record)) << name;
    std::vector<PacketView> packets;
    const WalkResult walk = WalkStream(stream, [&](const PacketView &p) {
        packets.push_back(p);
        return true;
    });
    ASSERT_TRUE(walk.valid()) << name << ": " << WalkErrorText(walk.error);
    ASSERT_EQ(1u, packets.size()) << name;
    EXPECT_EQ(stream.size() - 2, packets[0].payloadLength) << name;
    const auto decoded = DecodePayload<Record>(packets[0].payload);
    ASSERT_TRUE(decoded) << name;
    Bytes again;
    ASSERT_TRUE(AppendPacket(again, group, code, *decoded)) << name;
    EXPECT_EQ(stream, again) << name;
}

TEST(PayloadCodec, EveryPacketOfTheTableRoundTripsAtTheLengthOfItsRule)
{
#define PV_GROUP(...)
#define PV_PACKET(Group, code, Name, Payload, fixed, field, offset, scale) \
    ExpectRoundTrip(GroupOf(PacketId::Name), CodeOf(PacketId::Name), Payload{}, #Name);
#define PV_ANYCODE(Group, Name, Payload, fixed, field, offset, scale) \
    ExpectRoundTrip(GroupOf(PacketId::Name), CodeOf(PacketId::Name), Payload{}, #Name);
#include "events/PacketList.def"
#undef PV_GROUP
#undef PV_PACKET
#undef PV_ANYCODE
}

TEST(PayloadCodec, VariablePartsRoundTripWithContent)
{
    ToneDefineRecord tone;
    tone.patternId = 7;
    tone.width = 3;
    tone.height = 1;
    tone.name = "網点";
    tone.uncompressedSize = 3;
    tone.compressed = {1, 2, 3}; // odd: a pad byte follows
    ExpectRoundTrip(0, 36, tone, "ToneDefine");

    GradationColorsRecord colours;
    colours.slots.assign(48, 0x5A);
    ExpectRoundTrip(0, 40, colours, "GradationColors");

    ColorRangeRecord range;
    range.target = 1;
    range.entries = {{0xFF102030, 1, 40}, {0x80405060, 0, 255}};
    ExpectRoundTrip(0, 136, range, "ColorRange");

    ImageRecord image;
    image.size = {2, 1};
    image.hasExtra = true;
    image.extra[0] = 9;
    image.name = "貼り付け";
    image.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    ExpectRoundTrip(12, 0, image, "PasteIntoLayer");

    ChannelRecord channel;
    channel.area = {1, 2, 4, 3};
    channel.uncompressedSize = 3;
    channel.compressed = {9, 8, 7, 6, 5};
    ExpectRoundTrip(13, 0, channel, "BucketFill");

    ChannelRecordEx channelEx;
    channelEx.geometry[1] = GeometryValue::FromFloats(1.5f, -2.0f);
    channelEx.compressed = {1};
    ExpectRoundTrip(13, 3, channelEx, "WandSelectEx");

    NewLayerNamedRecord layer;
    layer.name = "レイヤー 2";
    ExpectRoundTrip(4, 11, layer, "NewLayerNamed");

    SelectPolygonRecord polygon;
    polygon.points = {{1, 2}, {-3, 4}, {5, -6}};
    ExpectRoundTrip(10, 18, polygon, "SelectPolygon");

    FilterRecordRecord floor;
    floor.data.assign(63, 0x11);
    ExpectRoundTrip(38, 40, floor, "FilterFloor");
}

TEST(PayloadCodec, Colour3IsTheLowThreeBytesLowestFirst)
{
    Bytes stream;
    ASSERT_TRUE(AppendPacket<PacketId::PaperColor>(stream, {0xFF112233}));
    EXPECT_EQ((Bytes{0, 2, 0x33, 0x22, 0x11, 0}), stream);
    const auto back = DecodePayload<PacketId::PaperColor>(std::span(stream).subspan(2));
    ASSERT_TRUE(back);
    EXPECT_EQ(0x00112233u, back->colour);

    Bytes pen;
    ASSERT_TRUE(AppendPacket<PacketId::PenColor>(pen, {0x00CC8844u, 5, 1.0f}));
    EXPECT_EQ((Bytes{0, 16, 0x44, 0x88, 0xCC, 5, 0x00, 0x00, 0x80, 0x3F}), pen);
}

TEST(PayloadCodec, TextFieldsHoldTheStringAndAtLeastOneNul)
{
    struct Case {
        std::string text;
        uint16_t n;
    } cases[] = {{"", 2}, {"a", 2}, {"ab", 4}, {"abc", 4}, {"レイヤ", 8}}; // 6 bytes in CP932
    for (const Case &c : cases) {
        Bytes stream;
        ASSERT_TRUE(AppendPacket<PacketId::RenameLayer>(stream, {3, c.text}));
        ASSERT_EQ(2u + 4u + c.n, stream.size()) << c.text;
        EXPECT_EQ(c.n, stream[4] | (stream[5] << 8)) << c.text;
        EXPECT_EQ(0, stream.back()) << c.text;
        const auto back = DecodePayload<PacketId::RenameLayer>(std::span(stream).subspan(2));
        ASSERT_TRUE(back);
        EXPECT_EQ(c.text, back->name);
    }
}

TEST(PayloadCodec, TextIsReadWithinItsFieldWithOrWithoutNul)
{
    // n = 4 holding "ABCD" and no NUL, followed by bytes that must not become part of it.
    const Bytes unterminated = {1, 0, 4, 0, 'A', 'B', 'C', 'D'};
    auto back = DecodePayload<PacketId::RenameSelection>(unterminated);
    ASSERT_TRUE(back);
    EXPECT_EQ("ABCD", back->name);
    // A field whose NUL comes early: the rest of the field is not text.
    const Bytes early = {1, 0, 4, 0, 'A', 0, 'C', 'D'};
    back = DecodePayload<PacketId::RenameSelection>(early);
    ASSERT_TRUE(back);
    EXPECT_EQ("A", back->name);
    // A count that runs past the payload.
    EXPECT_FALSE(DecodePayload<PacketId::RenameSelection>(Bytes{1, 0, 6, 0, 'A', 0}));
}

TEST(PayloadCodec, StrokeSamples)
{
    StrokeSamplesRecord batch;
    for (int i = 0; i < 16; ++i)
        batch.samples.push_back({float(i), float(-i), i / 16.0f});
    Bytes stream;
    ASSERT_TRUE(AppendStrokeSamples(stream, PacketGroup::StrokeEnd, batch));
    EXPECT_EQ(18, stream[0]);
    EXPECT_EQ(16, stream[1]);
    EXPECT_EQ(2u + 16 * 12, stream.size());
    const auto back = DecodeStrokeSamples(16, std::span(stream).subspan(2));
    ASSERT_TRUE(back);
    EXPECT_EQ(batch.samples, back->samples);

    // Code 0: an empty batch is a valid packet.
    EXPECT_TRUE(DecodeStrokeSamples(0, {}));
    // More than 16 samples: not written, and refused for playback although a walk steps over it.
    batch.samples.push_back({});
    EXPECT_FALSE(AppendStrokeSamples(stream, PacketGroup::StrokePoints, batch));
    const Bytes seventeen(17 * 12, 0);
    EXPECT_FALSE(DecodeStrokeSamples(17, seventeen));
    // A payload that is not 12 × code bytes.
    EXPECT_FALSE(DecodeStrokeSamples(2, Bytes(12, 0)));
}

TEST(PayloadCodec, ImageRecordsAreCheckedBeforeTheirPixelsAreTrusted)
{
    ImageRecord image;
    image.size = {1, 1};
    image.pixels = {1, 2, 3, 4};
    Bytes good;
    ASSERT_TRUE(AppendPacket<PacketId::LoadImage>(good, image));
    const std::span<const uint8_t> payload = std::span(good).subspan(2);
    ASSERT_TRUE(DecodePayload<PacketId::LoadImage>(payload));

    auto corrupt = [&](size_t offset, std::initializer_list<uint8_t> bytes) {
        Bytes copy(payload.begin(), payload.end());
        std::copy(bytes.begin(), bytes.end(), copy.begin() + offset);
        return DecodePayload<PacketId::LoadImage>(copy);
    };
    EXPECT_FALSE(corrupt(18, {8, 0, 0, 0})) << "pixel count other than width × height × 4";
    EXPECT_FALSE(corrupt(2, {0xFF, 0xFF, 0xFF, 0xFF})) << "negative width";
    EXPECT_FALSE(corrupt(10, {24})) << "bits per pixel other than 32";
    EXPECT_FALSE(corrupt(11, {2})) << "extra flag other than 0 or 1";
    EXPECT_FALSE(corrupt(16, {2, 0})) << "name longer than the total";

    ImageRecord wrong = image;
    wrong.pixels.pop_back();
    Bytes stream;
    EXPECT_FALSE(AppendPacket<PacketId::LoadImage>(stream, wrong));
    EXPECT_TRUE(stream.empty()) << "a failed append leaves the stream as it was";
}

TEST(PayloadCodec, AppStatusAndRecordTime)
{
    Bytes stream;
    ASSERT_TRUE(AppendPacket<PacketId::AppStatus>(stream, {}));
    EXPECT_EQ((Bytes{0, 0, 3, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0}), stream);

    InfoRecord info;
    PayloadWriter writer(info.data);
    SystemTime time{2026, 12, 4, 10, 12, 30, 15, 250};
    time.Fields(writer);
    Bytes packet;
    ASSERT_TRUE(AppendPacket<PacketId::RecordTime>(packet, info));
    EXPECT_EQ(2u + 4 + 16, packet.size());
    const auto back = DecodeRecordTime(std::span(packet).subspan(2));
    ASSERT_TRUE(back);
    EXPECT_EQ(2026, back->year);
    EXPECT_EQ(250, back->milliseconds);
    EXPECT_FALSE(DecodeRecordTime(Bytes{2, 0, 0, 0, 1, 2}));
}

} // namespace
} // namespace pv::events

namespace pv::events {
namespace {

TEST(PayloadCodec, FixedTextFieldsNeverSplitACharacter)
{
    FontRecord font;
    // 37 bytes in CP932; a two-byte character straddles the end of the 32-byte field.
    font.font.faceName = "abＭＳ Ｐゴシック ＭＳ Ｐゴシック ＭＳ";
    Bytes stream;
    ASSERT_TRUE(AppendPacket<PacketId::Font>(stream, font));
    EXPECT_EQ(0, stream[2 + 28 + 31]) << "the face name ends with a NUL inside its 32 bytes";
    const auto back = DecodePayload<PacketId::Font>(std::span(stream).subspan(2));
    ASSERT_TRUE(back);
    EXPECT_EQ(std::string::npos, back->font.faceName.find("\xEF\xBF\xBD")) << "no half character came back";
    EXPECT_TRUE(font.font.faceName.starts_with(back->font.faceName));
}

} // namespace
} // namespace pv::events
