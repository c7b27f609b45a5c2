// Walking streams: a realistic recording is valid and splits into its steps; damaged streams
// are invalid at the offset of the packet that breaks them; the version record.
#include "events/PacketCodec.h"
#include "events/StreamWalk.h"

#include <gtest/gtest.h>

#include <vector>

namespace pv::events {
namespace {

using Bytes = std::vector<uint8_t>;

// The start of a recording followed by one stroke of 20 samples.
Bytes SmallRecording(std::vector<uint64_t> *stepEnds = nullptr)
{
    Bytes s;
    auto end = [&] { if (stepEnds) stepEnds->push_back(s.size()); };
    AppendPacket<PacketId::AppStatus>(s, {});
    AppendPacket<PacketId::NewPaper>(s, {640, 480, 350, 480, 640});
    end();
    AppendPacket<PacketId::Current>(s, {0, 0});
    AppendPacket<PacketId::RecordTime>(s, {Bytes(16, 0)});
    AppendPacket<PacketId::RecordStart>(s, {});
    end();
    AppendPacket<PacketId::PenColor>(s, {0x000000FF, 0, 1.0f});
    AppendPacket<PacketId::Current>(s, {0, 0});
    AppendPacket<PacketId::StrokeBeginV2>(s, {0, 0});
    StrokeSamplesRecord batch;
    batch.samples.resize(16);
    AppendStrokeSamples(s, PacketGroup::StrokePoints, batch);
    batch.samples.resize(4);
    AppendStrokeSamples(s, PacketGroup::StrokeEnd, batch);
    end();
    return s;
}

TEST(StreamWalk, ARecordingIsValidAndSplitsIntoItsSteps)
{
    std::vector<uint64_t> expectedEnds;
    const Bytes stream = SmallRecording(&expectedEnds);
    const StepSplit split = SplitSteps(stream);
    ASSERT_TRUE(split.walk.valid());
    EXPECT_EQ(10u, split.walk.packets);
    EXPECT_EQ(stream.size(), split.walk.offset);
    EXPECT_EQ(expectedEnds, split.stepEnds);

    // State packets after the last step end form an open step that is not listed.
    Bytes open = stream;
    AppendPacket<PacketId::PenSize>(open, {4.0f, 0.5f});
    EXPECT_EQ(expectedEnds, SplitSteps(open).stepEnds);

    EXPECT_TRUE(WalkStream({}).valid()) << "an empty stream";
}

TEST(StreamWalk, DamageIsReportedAtTheOffsetOfThePacket)
{
    const Bytes good = SmallRecording();
    const uint64_t end = good.size();
    struct Case {
        const char *what;
        Bytes tail;
        WalkError error;
    } cases[] = {
        {"one byte of a header", {2}, WalkError::CutHeader},
        {"an unknown group", {3, 0}, WalkError::UnknownPacket},
        {"an unknown code of a known group", {2, 10}, WalkError::UnknownPacket},
        {"an unknown filter code", {32, 2, 0, 0, 0, 0}, WalkError::UnknownPacket},
        {"a fixed part cut before its size field", {4, 11, 0, 0, 0, 0}, WalkError::CutFixedPart},
        {"a fixed part cut inside a plain packet", {2, 8, 1, 2, 3}, WalkError::CutFixedPart},
        {"a variable part longer than the stream", {4, 19, 0, 0, 8, 0, 'a', 0}, WalkError::CutPayload},
        {"a 32-bit length that would wrap a 32-bit offset", {1, 17, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0}, WalkError::CutPayload},
        {"a stroke batch cut short", {18, 2, 0, 0, 0, 0}, WalkError::CutPayload},
    };
    for (const Case &c : cases) {
        Bytes stream = good;
        stream.insert(stream.end(), c.tail.begin(), c.tail.end());
        const WalkResult walk = WalkStream(stream);
        EXPECT_EQ(c.error, walk.error) << c.what;
        EXPECT_EQ(end, walk.offset) << c.what;
        EXPECT_EQ(10u, walk.packets) << c.what;
        EXPECT_TRUE(SplitSteps(stream).stepEnds.empty()) << c.what;
    }
}

TEST(StreamWalk, ReadersStepOverPacketsTheyDoNotInterpret)
{
    Bytes stream;
    AppendPacket(stream, 1, 99, InfoRecord{{1, 2, 3, 4, 5}}); // an unknown information code
    AppendPacket<PacketId::PasteIntoLayer>(stream, ImageRecord{});
    stream.insert(stream.end(), {17, 0});                      // a stroke batch of no samples
    stream.insert(stream.end(), {18, 0});
    AppendPacket(stream, 38, 77, FilterRecordRecord{});       // any filter-record code
    std::vector<std::pair<int, int>> seen;
    const WalkResult walk = WalkStream(stream, [&](const PacketView &p) {
        seen.emplace_back(p.group, p.code);
        return true;
    });
    ASSERT_TRUE(walk.valid());
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 99}, {12, 0}, {17, 0}, {18, 0}, {38, 77}}), seen);
}

TEST(StreamWalk, StreamVersion)
{
    const Bytes recording = SmallRecording();
    StreamVersion v = ReadStreamVersion(recording);
    EXPECT_EQ(305, v.version);
    EXPECT_FALSE(v.rejected);

    Bytes older;
    AppendPacket<PacketId::NewPaper>(older, {});
    EXPECT_EQ(kVersionWithoutAppStatus, ReadStreamVersion(older).version);

    Bytes v282;
    AppendPacket<PacketId::AppStatus>(v282, {2, 82, 0});
    EXPECT_EQ(282, ReadStreamVersion(v282).version);

    Bytes extended;
    AppendPacket<PacketId::PaperColor>(extended, {0xFFFFFF});
    const uint64_t at = extended.size();
    AppendPacket<PacketId::AppStatus>(extended, {3, 5, 1});
    v = ReadStreamVersion(extended);
    EXPECT_TRUE(v.rejected);
    EXPECT_EQ(at, v.offset);
}

TEST(StreamWalk, DumpNamesEveryPacketAndTheDamage)
{
    Bytes stream = SmallRecording();
    stream.insert(stream.end(), {3, 0});
    const std::string dump = DumpStream(stream);
    for (const char *word : {"AppStatus", "NewPaper", "RecordTime", "RecordStart", "StrokeBeginV2",
                             "StrokePoints", "StrokeEnd", "invalid: unknown packet", "samples=", "paper="})
        EXPECT_NE(std::string::npos, dump.find(word)) << word << "\n" << dump;
}

} // namespace
} // namespace pv::events
