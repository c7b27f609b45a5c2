// The event player: a painting recorded on a live paper and replayed onto an empty one gives
// exactly the live layers and composite (and goes on recording afterwards), the start
// results, damaged and unfinished streams, progress, wait mode, pause and stop.
#include "StackFixtures.h"
#include "UndoFixture.h"

#include "document/EventPlayer.h"
#include "document/PaperHost.h"
#include "events/EventFile.h"
#include "tools/PenKinds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace pv::test {
namespace {

using events::PacketGroup;
using events::PacketId;

// Answers every question with yes, keeping the warnings.
class YesMessages : public RecordedMessages {
public:
    MessageAnswer Ask(std::string_view, MessageButtons) override { return MessageAnswer::Yes; }
};

struct Picture {
    Picture() : paper(TPaper::CreatePaper(host, 8, pen)) { EXPECT_TRUE(paper); }
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage image;
    std::unique_ptr<TPaper> paper;
};

void DrawLiveStroke(Picture &p, int samples, float y0, float phase)
{
    StrokeTrack track;
    const auto at = [&](int i, float &x, float &y, float &pressure) {
        x = 6.0f + float(i) * 2.5f;
        y = y0 + 9.0f * std::sin(float(i) * 0.35f + phase);
        pressure = 0.15f + 0.85f * float(i % 9) / 8.0f;
    };
    float x, y, pressure;
    at(0, x, y, pressure);
    ASSERT_TRUE(p.paper->BeginStroke(p.image, p.pen, track, x, y, pressure, true));
    for (int i = 1; i < samples; ++i) {
        at(i, x, y, pressure);
        p.paper->AddStrokePoint(p.image, p.pen, track, x, y, pressure, true);
    }
    SExtent rect;
    ASSERT_TRUE(p.paper->EndStroke(p.image, p.pen, track, rect, true));
}

// A painting with a stroke of every pen kind (one drawn without smoothing), batches of every
// length including an exactly full one, and a paper colour change.
void PaintEveryKind(Picture &p)
{
    ASSERT_TRUE(p.paper->InitPaper("live", p.image, 72, 96, 96, 96, 96));
    const uint32_t colours[] = {0x2040C0, 0x10A030, 0xC02020, 0x000000, 0x804080, 0x3070F0, 0x606060, 0x202020, 0xF0F0F0};
    for (int kind = 0; kind < kPenKindCount; ++kind) {
        p.pen.ApplyDefaults(kind);
        p.pen.SetMaxRadius(3.0f + float(kind));
        p.pen.SetColor(colours[kind]);
        p.pen.SetNoSmoothing(kind == kPenAirbrush);
        DrawLiveStroke(p, 16 + kind * 3, 10.0f + float(kind) * 9.0f, float(kind));
        if (kind == 4)
            p.paper->SetPaperColour(0xE0F0FF, true);
    }
}

bool LayerPainted(const TPaper &paper, int32_t layer)
{
    const std::vector<uint32_t> pixels = Pixels(*paper.LayerAt(layer)->Image());
    return std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
}

std::vector<uint32_t> CompositePixels(const TPaper &paper)
{
    std::vector<uint32_t> pixels;
    const TTC &composite = paper.Composite();
    for (int32_t y = 0; y < composite.Height(); ++y)
        pixels.insert(pixels.end(), composite.RowPixels(y), composite.RowPixels(y) + composite.Width());
    return pixels;
}

void ExpectSamePicture(const TPaper &live, const TPaper &played)
{
    ASSERT_EQ(live.Width(), played.Width());
    ASSERT_EQ(live.Height(), played.Height());
    ASSERT_EQ(live.LayerCount(), played.LayerCount());
    EXPECT_EQ(live.PaperColour(), played.PaperColour());
    for (int32_t i = 0; i < live.LayerCount(); ++i)
        EXPECT_EQ(Pixels(*live.LayerAt(i)->Image()), Pixels(*played.LayerAt(i)->Image())) << "layer " << i;
    EXPECT_EQ(CompositePixels(live), CompositePixels(played));
}

// Plays a stream to its end on the picture; the result of the last step.
PlaybackStep PlayToEnd(EventPlayer &player, int64_t &now)
{
    PlaybackStep step = PlaybackStep::Stepped;
    for (int guard = 0; guard < 100000 && step != PlaybackStep::Finished && step != PlaybackStep::Error; ++guard)
        step = player.Step(now += EventPlayer::kWaitMilliseconds);
    return step;
}

struct Replay {
    explicit Replay(std::span<const uint8_t> stream, uint32_t steps)
    {
        start = player.StartStream(stream, steps);
    }
    Picture picture;
    EventPlayer player{*picture.paper, picture.image, picture.pen};
    PlaybackStart start;
    int64_t now = 0;
};

TEST(EventPlayer, ReplayedPaintingMatchesTheLivePaper)
{
    Picture live;
    PaintEveryKind(live);
    ASSERT_TRUE(LayerPainted(*live.paper, 0));
    const std::vector<uint8_t> stream = live.paper->Events().CopyStream();
    const uint32_t steps = uint32_t(live.paper->Events().StepCount());

    Replay replay(stream, steps);
    ASSERT_EQ(PlaybackStart::Started, replay.start);
    EXPECT_EQ(PlaybackStep::Finished, PlayToEnd(replay.player, replay.now)) << replay.player.Error();
    EXPECT_TRUE(replay.player.Ended());
    EXPECT_FALSE(replay.player.Interrupted());
    EXPECT_EQ(100, replay.player.ProgressPercent());
    EXPECT_EQ(int32_t(steps), replay.player.StepsPlayed());
    ExpectSamePicture(*live.paper, *replay.picture.paper);

    // Played again sample by sample, the picture is the same.
    Replay slow(stream, steps);
    slow.player.SetWait(true);
    ASSERT_EQ(PlaybackStart::Started, slow.start);
    EXPECT_EQ(PlaybackStep::Finished, PlayToEnd(slow.player, slow.now)) << slow.player.Error();
    ExpectSamePicture(*live.paper, *slow.picture.paper);
}

TEST(EventPlayer, RecordingGoesOnAfterTheReplay)
{
    Picture live;
    PaintEveryKind(live);
    Replay replay(live.paper->Events().CopyStream(), uint32_t(live.paper->Events().StepCount()));
    ASSERT_EQ(PlaybackStart::Started, replay.start);
    ASSERT_EQ(PlaybackStep::Finished, PlayToEnd(replay.player, replay.now));
    ASSERT_TRUE(replay.player.EnterAppendMode());
    EXPECT_TRUE(replay.picture.paper->Recording());

    // The same stroke on the live paper and on the replayed one, then the continued stream
    // played once more.
    for (Picture *p : {&live, &replay.picture}) {
        p->pen.ApplyDefaults(kPenPencil);
        p->pen.SetMaxRadius(5);
        p->pen.SetColor(0x0000FF);
        DrawLiveStroke(*p, 20, 50, 2);
    }
    ExpectSamePicture(*live.paper, *replay.picture.paper);
    const events::CEventMngr &continued = replay.picture.paper->Events();
    Replay again(continued.CopyStream(), uint32_t(continued.StepCount()));
    ASSERT_EQ(PlaybackStart::Started, again.start);
    EXPECT_EQ(PlaybackStep::Finished, PlayToEnd(again.player, again.now)) << again.player.Error();
    ExpectSamePicture(*live.paper, *again.picture.paper);
}

// Hand-built streams.
struct Stream {
    template <PacketId id> Stream &Add(const events::PayloadOf<id> &record)
    {
        EXPECT_TRUE(events::AppendPacket<id>(bytes, record));
        return *this;
    }
    Stream &Paper(int32_t w, int32_t h) { return Add<PacketId::NewPaper>({w, h, 72, h, w}); }
    Stream &Begin(uint16_t layer)
    {
        EXPECT_TRUE(events::AppendPacket(bytes, uint8_t(PacketGroup::StrokeBeginV2), 0, events::StrokeBeginRecord{layer, 0}));
        return *this;
    }
    Stream &Samples(PacketGroup group, int count, float y = 16)
    {
        events::StrokeSamplesRecord record;
        for (int i = 0; i < count; ++i)
            record.samples.push_back({4.0f + float(i) * 3, y, 1.0f});
        EXPECT_TRUE(events::AppendStrokeSamples(bytes, group, record));
        return *this;
    }
    Stream &End() { return Add<PacketId::End>({}); }
    std::vector<uint8_t> bytes;
};

TEST(EventPlayer, StartResults)
{
    events::AppStatusRecord extended;
    extended.extensionFlags = 1;
    events::FlagsRecord sealed{events::paper_flags::kSealed};
    const struct {
        const char *name;
        Stream stream;
        bool unattended;
        PlaybackStart expected;
    } cases[] = {
        {"a new paper", Stream().Paper(40, 30), false, PlaybackStart::Started},
        {"the old new-paper form", Stream().Add<PacketId::NewPaperV2>({40, 30, 72, 0}), false, PlaybackStart::Started},
        {"no new paper first", Stream().Begin(0).Samples(PacketGroup::StrokeEnd, 2), false, PlaybackStart::Failed},
        {"a paper 0 wide", Stream().Paper(0, 30), false, PlaybackStart::Failed},
        {"a paper 10001 high", Stream().Paper(30, 10001), false, PlaybackStart::Failed},
        {"an empty stream", Stream(), false, PlaybackStart::Failed},
        {"extension flags", Stream().Add<PacketId::AppStatus>(extended).Paper(40, 30), false, PlaybackStart::Failed},
        {"sealed, unattended", Stream().Add<PacketId::PaperFlags>(sealed).Paper(40, 30), true, PlaybackStart::Protected},
        {"sealed, in a window", Stream().Add<PacketId::PaperFlags>(sealed).Paper(40, 30), false, PlaybackStart::Started},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RecordedMessages messages;
        Picture picture;
        EventPlayer player(*picture.paper, picture.image, picture.pen);
        EXPECT_EQ(c.expected, player.StartStream(c.stream.bytes, 1, c.unattended));
        if (c.expected == PlaybackStart::Started) {
            EXPECT_EQ(40, picture.paper->Width());
            EXPECT_EQ(30, picture.paper->Height());
            EXPECT_EQ(40, picture.paper->LayerAt(0)->Image()->Width()) << "a missing layer size is the paper's";
        }
    }
    EXPECT_STREQ("ﾊﾞｰｼﾞｮﾝｴﾗｰによりｲﾍﾞﾝﾄ再生の開始に失敗しました!", PlaybackStartMessage(PlaybackStart::VersionError));
}

TEST(EventPlayer, LayerProtectionTravelsInPaperFlagsBeforeVersion206)
{
    const events::FlagsRecord flags{events::paper_flags::kLayerProtection | events::paper_flags::kSelectionEnabled};
    for (const auto &[minor, major, protects] : {std::tuple{5, 2, true}, std::tuple{6, 2, false}, std::tuple{5, 3, false}}) {
        SCOPED_TRACE(major * 100 + minor);
        const Stream stream = Stream()
                                  .Add<PacketId::AppStatus>({uint16_t(major), uint16_t(minor), 0})
                                  .Paper(40, 30)
                                  .Add<PacketId::PaperFlags>(flags)
                                  .End();
        Replay replay(stream.bytes, 2);
        ASSERT_EQ(PlaybackStart::Started, replay.start);
        ASSERT_EQ(PlaybackStep::Finished, PlayToEnd(replay.player, replay.now));
        EXPECT_EQ(protects, replay.picture.paper->ActiveLayer()->protectTransparency);
        EXPECT_TRUE(replay.picture.paper->selectionEnabled);
    }
}

TEST(EventPlayer, FilesThatCannotStart)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "pv-player-test";
    std::filesystem::create_directories(folder);
    int code = 0;
    const Stream stream = Stream().Paper(40, 30).End();
    std::optional<std::vector<uint8_t>> file = events::WriteEventFile({40, 30, 18, 0, 2}, stream.bytes, true, nullptr, code);
    ASSERT_TRUE(file);
    (*file)[16] = 19; // the header's generation
    const std::filesystem::path newer = folder / "newer.pe3";
    std::ofstream(newer, std::ios::binary).write(reinterpret_cast<const char *>(file->data()), std::streamsize(file->size()));

    Picture picture;
    EventPlayer player(*picture.paper, picture.image, picture.pen);
    EXPECT_EQ(PlaybackStart::VersionError, player.StartPlayback(newer));
    EXPECT_EQ(PlaybackStart::FileError, player.StartPlayback(folder / "missing.pe3"));
    std::filesystem::remove_all(folder);
}

TEST(EventPlayer, SealedStreamPlaysButIsNotContinued)
{
    RecordedMessages messages;
    const Stream stream = Stream().Add<PacketId::PaperFlags>({events::paper_flags::kSealed}).Paper(40, 30).End();
    Replay replay(stream.bytes, 2);
    ASSERT_EQ(PlaybackStart::Started, replay.start);
    EXPECT_TRUE(replay.picture.paper->locked);
    EXPECT_EQ(PlaybackStep::Finished, PlayToEnd(replay.player, replay.now));
    EXPECT_FALSE(replay.player.EnterAppendMode());
    EXPECT_FALSE(replay.picture.paper->Recording());
    EXPECT_EQ("絵 : ｲﾍﾞﾝﾄ再生終了 (1200ms) : 追記不可", EndedPlaybackTitle("絵", false, 1200, false));
    EXPECT_EQ("絵 : ｲﾍﾞﾝﾄ再生中断 (5ms) : 追記ﾓｰﾄﾞ", EndedPlaybackTitle("絵", true, 5, true));
}

TEST(EventPlayer, UnfinishedStrokesAndStreams)
{
    // Samples without their begin go on the current layer; an open stroke ends where the
    // next operation begins, and at the end of a stream without End.
    const struct {
        const char *name;
        Stream stream;
        int32_t steps; // played, the new paper included
    } cases[] = {
        {"samples without a begin", Stream().Paper(40, 30).Samples(PacketGroup::StrokeEnd, 3).End(), 3},
        {"a stroke closed by the next stroke",
         Stream().Paper(40, 30).Begin(0).Samples(PacketGroup::StrokePoints, 16).Begin(0).Samples(PacketGroup::StrokeEnd, 2, 25),
         3},
        {"a stream ending inside a stroke", Stream().Paper(40, 30).Begin(0).Samples(PacketGroup::StrokePoints, 16), 2},
        {"an empty final batch", Stream().Paper(40, 30).Begin(0).Samples(PacketGroup::StrokePoints, 16)
                                     .Samples(PacketGroup::StrokeEnd, 0).End(), 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Replay replay(c.stream.bytes, 3);
        ASSERT_EQ(PlaybackStart::Started, replay.start);
        EXPECT_EQ(PlaybackStep::Finished, PlayToEnd(replay.player, replay.now)) << replay.player.Error();
        EXPECT_EQ(c.steps, replay.player.StepsPlayed());
        EXPECT_TRUE(LayerPainted(*replay.picture.paper, 0));
        EXPECT_EQ(100, replay.player.ProgressPercent());
    }
}

TEST(EventPlayer, DamagedOrUnplayablePacketsStopTheReplay)
{
    Stream tooMany = Stream().Paper(40, 30).Begin(0);
    const size_t batchAt = tooMany.bytes.size();
    tooMany.bytes.push_back(uint8_t(PacketGroup::StrokePoints));
    tooMany.bytes.push_back(17);
    tooMany.bytes.resize(tooMany.bytes.size() + 17 * 12, 0);
    const auto withSample = [](events::StrokeSample far) {
        Stream s = Stream().Paper(40, 30).Begin(0);
        events::StrokeSamplesRecord record;
        record.samples = {{4, 4, 1}, far};
        EXPECT_TRUE(events::AppendStrokeSamples(s.bytes, PacketGroup::StrokeEnd, record));
        return s;
    };
    const size_t sampleAt = withSample({}).bytes.size() - 2 - 24;
    const Stream far = withSample({-1e9f, 3e8f, 1}), notANumber = withSample({5, 5, std::nanf("")});
    Stream layer = Stream().Paper(40, 30);
    const size_t layerAt = layer.bytes.size();
    layer.Add<PacketId::NewLayer>({});
    const struct {
        const char *name;
        const Stream &stream;
        size_t offset;
        const char *why;
    } cases[] = {
        {"17 samples in a batch", tooMany, batchAt, "damaged"},
        {"a sample a billion pixels away", far, sampleAt, "damaged"},
        {"a pressure that is not a number", notANumber, sampleAt, "damaged"},
        {"an operation the player does not have", layer, layerAt, "cannot be replayed"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Replay replay(c.stream.bytes, 3);
        ASSERT_EQ(PlaybackStart::Started, replay.start);
        EXPECT_EQ(PlaybackStep::Error, PlayToEnd(replay.player, replay.now));
        EXPECT_EQ(PlaybackStep::Error, replay.player.Step(replay.now + 100)) << "not played further";
        const std::string &error = replay.player.Error();
        EXPECT_NE(std::string::npos, error.find("offset " + std::to_string(c.offset))) << error;
        EXPECT_NE(std::string::npos, error.find(c.why)) << error;
    }
}

TEST(EventPlayer, PressureBeyondAFullPressDrawsAsAFullPress)
{
    const auto played = [](float pressure) {
        Stream s = Stream().Paper(40, 30).Add<PacketId::PenSize>({6, 0}).Begin(0);
        events::StrokeSamplesRecord record;
        record.samples = {{4, 10, pressure}, {20, 12, pressure}, {30, 20, pressure}};
        EXPECT_TRUE(events::AppendStrokeSamples(s.bytes, PacketGroup::StrokeEnd, record));
        Replay replay(s.bytes, 2);
        EXPECT_EQ(PlaybackStep::Finished, PlayToEnd(replay.player, replay.now));
        return Pixels(*replay.picture.paper->LayerAt(0)->Image());
    };
    const std::vector<uint32_t> full = played(1);
    EXPECT_EQ(full, played(1e30f));
    EXPECT_EQ(played(0), played(-5));
}

TEST(EventPlayer, ProgressStaysWithinBounds)
{
    const Stream stream = Stream().Paper(40, 30).Samples(PacketGroup::StrokeEnd, 2).Samples(PacketGroup::StrokeEnd, 2).End();
    for (uint32_t steps : {0u, 1u, 4u, 400u}) {
        SCOPED_TRACE(steps);
        Replay replay(stream.bytes, steps);
        ASSERT_EQ(PlaybackStart::Started, replay.start);
        for (PlaybackStep step = PlaybackStep::Stepped; step == PlaybackStep::Stepped;) {
            const int percent = replay.player.ProgressPercent();
            EXPECT_TRUE(percent >= 0 && percent <= 100) << percent;
            step = replay.player.Step(replay.now += 20);
        }
        EXPECT_EQ(100, replay.player.ProgressPercent());
    }
    EXPECT_EQ("絵 : ｲﾍﾞﾝﾄ再生中 42% (900ms)", PlaybackTitle("絵", 42, 900));
    EXPECT_EQ("絵 : ｲﾍﾞﾝﾄ再生 42% (900ms) : 一時停止", PausedPlaybackTitle("絵", 42, 900));
}

TEST(EventPlayer, WaitModePausesBetweenSamples)
{
    const Stream stream = Stream().Paper(40, 30).Begin(0).Samples(PacketGroup::StrokeEnd, 5).End();
    Replay replay(stream.bytes, 3);
    ASSERT_EQ(PlaybackStart::Started, replay.start);
    EventPlayer &player = replay.player;
    player.SetWait(true);
    EXPECT_EQ(PlaybackStep::Stepped, player.Step(100)) << "the first sample";
    EXPECT_EQ(PlaybackStep::Idle, player.Step(110)) << "less than 20 ms later";
    EXPECT_EQ(PlaybackStep::Stepped, player.Step(120));
    player.SetPaused(true);
    EXPECT_EQ(PlaybackStep::Idle, player.Step(500));
    EXPECT_EQ(1, player.StepsPlayed()) << "paused inside the stroke";
    player.SetPaused(false);
    EXPECT_EQ(PlaybackStep::Stepped, player.Step(520));
    EXPECT_EQ(PlaybackStep::Stepped, player.Step(540));
    EXPECT_EQ(1, player.StepsPlayed());
    EXPECT_EQ(PlaybackStep::Stepped, player.Step(560)) << "the last sample ends the stroke";
    EXPECT_EQ(2, player.StepsPlayed());
    EXPECT_EQ(PlaybackStep::Finished, player.Step(580));
}

TEST(EventPlayer, StopFinishesTheStrokeAndLeavesAStepBoundary)
{
    const Stream stream = Stream()
                              .Paper(60, 30)
                              .Begin(0)
                              .Samples(PacketGroup::StrokePoints, 16)
                              .Samples(PacketGroup::StrokeEnd, 3)
                              .Samples(PacketGroup::StrokeEnd, 2, 25)
                              .End();
    Replay whole(stream.bytes, 4);
    ASSERT_EQ(PlaybackStart::Started, whole.start);
    ASSERT_EQ(PlaybackStep::Finished, PlayToEnd(whole.player, whole.now));

    YesMessages yes;
    Replay replay(stream.bytes, 4);
    ASSERT_EQ(PlaybackStart::Started, replay.start);
    replay.player.SetWait(true);
    ASSERT_EQ(PlaybackStep::Stepped, replay.player.Step(100));
    ASSERT_EQ(PlaybackStep::Stepped, replay.player.Step(200));
    ASSERT_TRUE(replay.player.Stop());
    EXPECT_TRUE(replay.player.Interrupted());
    EXPECT_EQ(2, replay.player.StepsPlayed()) << "the stroke is drawn to its end, across batches";
    EXPECT_EQ(PlaybackStep::Finished, replay.player.Step(300));

    // The first stroke is whole; the second was never started.
    const std::vector<uint32_t> stopped = Pixels(*replay.picture.paper->LayerAt(0)->Image());
    const std::vector<uint32_t> finished = Pixels(*whole.picture.paper->LayerAt(0)->Image());
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 60; ++x)
            ASSERT_EQ(finished[size_t(y * 60 + x)], stopped[size_t(y * 60 + x)]) << x << "," << y;
    EXPECT_NE(finished, stopped);

    ASSERT_TRUE(replay.player.EnterAppendMode());
    EXPECT_TRUE(replay.picture.paper->Recording());
    EXPECT_EQ(2 + 1, replay.picture.paper->Events().StepCount()) << "played steps and the session start";
}

} // namespace
} // namespace pv::test
