// The player's driver: starting a replay (load, seal check, everything up to the new paper),
// the step state machine, stopping, the switch to append mode and the replay's titles.
#include "document/EventPlayer.h"

#include "events/EventFileIo.h"
#include "events/RecordClock.h"
#include "platform/Messages.h"

#include <algorithm>
#include <cstdio>

namespace pv {

using namespace events;

const char *PlaybackStartMessage(PlaybackStart result)
{
    switch (result) {
    case PlaybackStart::Started: return "ｲﾍﾞﾝﾄﾌｧｲﾙ再生を開始します";
    case PlaybackStart::Failed: return "何らかのｴﾗｰによりｲﾍﾞﾝﾄ再生の開始に失敗しました!";
    case PlaybackStart::FileError: return "ﾌｧｲﾙｴﾗｰによりｲﾍﾞﾝﾄ再生の開始に失敗しました!";
    case PlaybackStart::PacketError: return "ﾊﾟｹｯﾄﾁｪｯｸｴﾗｰによりｲﾍﾞﾝﾄ再生の開始に失敗しました!";
    case PlaybackStart::VersionError: return "ﾊﾞｰｼﾞｮﾝｴﾗｰによりｲﾍﾞﾝﾄ再生の開始に失敗しました!";
    case PlaybackStart::Protected: return "保護ｴﾗｰによりｲﾍﾞﾝﾄ再生の開始に失敗しました!";
    }
    return "";
}

EventPlayer::EventPlayer(TPaper &paper, TFlowImage &image, const TStroke &appPen)
    : paper_(paper), image_(image), appPen_(appPen)
{
}

PlaybackStart EventPlayer::StartPlayback(const std::filesystem::path &path, bool unattended)
{
    EventFileContents contents;
    const int code = LoadEventFile(path, contents);
    if (code == event_file::kGenerationTooNew)
        return PlaybackStart::VersionError;
    if (code != event_file::kOk)
        return PlaybackStart::FileError;
    name_ = path.stem().string();
    fileHeader_ = contents.header;
    return StartStream(contents.stream, contents.header.stepCount, unattended);
}

PlaybackStart EventPlayer::StartStream(std::span<const uint8_t> stream, uint32_t steps, bool unattended)
{
    if (!paper_.Events().LoadStream(stream, appPen_, CEventMngr::RingSizeFor(paper_.UndoCount()), false))
        return PlaybackStart::FileError;
    stepCount_ = steps;
    if (name_.empty())
        name_ = paper_.name;
    return StartLoaded(unattended);
}

PlaybackStart EventPlayer::StartLoaded(bool unattended)
{
    pen_ = TStroke{};
    definedTones_.RemoveAll();
    tones_.clear();
    if (!definedTones_.IsValid())
        return PlaybackStart::Failed;
    const PaperFlagsScanResult seal = paper_.Events().ScanPaperFlags(PaperFlagsScan::Check);
    if (!seal.ok) {
        Messages().Warning(kInvalidPackets);
        return PlaybackStart::PacketError;
    }
    if (unattended && seal.bitFound)
        return PlaybackStart::Protected;
    paper_.locked = seal.bitFound;

    Packet packet;
    for (;;) {
        if (!ReadPacket(packet))
            return PlaybackStart::Failed;
        const auto group = PacketGroup(packet.group);
        if (group == PacketGroup::State || group == PacketGroup::Info) {
            if (!ApplyState(packet))
                return PlaybackStart::Failed;
            continue;
        }
        const bool newPaper = group == PacketGroup::Paper &&
                              (packet.code == CodeOf(PacketId::NewPaper) || packet.code == CodeOf(PacketId::NewPaperV2));
        if (!newPaper || !ApplyPaper(packet))
            return PlaybackStart::Failed;
        break;
    }
    CommitStep();
    startedCorrectly_ = true;
    paper_.name = name_;
    paper_.gradation.SetSettings(0, 0, 1, 0);
    paper_.RecomposeAll();
    return PlaybackStart::Started;
}

bool EventPlayer::ReadPacket(Packet &packet)
{
    const CEventMngr &events = paper_.Events();
    if (readPos_ >= events.End())
        return false;
    std::optional<SegmentPacket> found;
    const WalkResult walk = events.Stream().Walk(readPos_, events.End(), [&](const SegmentPacket &p) {
        found = p;
        return false;
    });
    if (!found) {
        packet.offset = walk.offset;
        return Fail(packet, "the packet cannot be read whole");
    }
    packet.offset = found->offset;
    packet.group = found->group;
    packet.code = found->code;
    packet.payload.resize(size_t(found->payloadLength));
    if (!events.Stream().Read(found->PayloadOffset(), packet.payload))
        return Fail(packet, "the packet cannot be read whole");
    readPos_ = found->End();
    return true;
}

bool EventPlayer::Fail(const Packet &packet, const std::string &why)
{
    char where[96];
    std::snprintf(where, sizeof where, "offset %llu, group %u code %u: ", static_cast<unsigned long long>(packet.offset),
                  unsigned(packet.group), unsigned(packet.code));
    error_ = where + why;
    return false;
}

PlaybackStep EventPlayer::Failed(const Packet &packet, const std::string &why)
{
    if (error_.empty())
        Fail(packet, why);
    return PlaybackStep::Error;
}

void EventPlayer::CommitStep()
{
    stepStart_ = readPos_;
    ++stepsPlayed_;
}

int EventPlayer::ProgressPercent() const
{
    // A stream that has been played to its end is complete, whatever its header counted.
    if (endReached_)
        return 100;
    if (stepCount_ == 0)
        return 0;
    return int(std::clamp<int64_t>(int64_t(stepsPlayed_) * 100 / stepCount_, 0, 100));
}

uint32_t EventPlayer::TakeRedrawHints()
{
    const uint32_t hints = redrawHints_;
    redrawHints_ = 0;
    return hints;
}

PlaybackStep EventPlayer::Step(int64_t nowMs)
{
    if (!startedCorrectly_ || Ended())
        return PlaybackStep::Finished;
    if (!error_.empty())
        return PlaybackStep::Error;
    if (busy_ || paused_ || (wait_ && nowMs - lastStepMs_ < kWaitMilliseconds))
        return PlaybackStep::Idle;
    busy_ = true;
    struct Release {
        bool &busy;
        ~Release() { busy = false; }
    } release{busy_};
    lastStepMs_ = nowMs;

    if (sampleBySample_ && DrawNextSample())
        return PlaybackStep::Stepped;
    Packet packet;
    for (;;) {
        const uint64_t at = readPos_;
        if (!ReadPacket(packet)) {
            if (!error_.empty())
                return PlaybackStep::Error;
            // A stream that ends without End ends as if it had one.
            if (strokeOpen_)
                EndStrokeReplay();
            endReached_ = true;
            return PlaybackStep::Finished;
        }
        const auto group = PacketGroup(packet.group);
        const bool samples = group == PacketGroup::StrokePoints || group == PacketGroup::StrokeEnd;
        if (group == PacketGroup::State || group == PacketGroup::Info) {
            if (!ApplyState(packet))
                return Failed(packet, "the state packet cannot be applied");
            continue;
        }
        if (strokeOpen_ && !samples) {
            // A stroke left open by its recording ends where the next operation begins; that
            // operation is the next step's.
            readPos_ = at;
            EndStrokeReplay();
            return PlaybackStep::Stepped;
        }
        if (StrokeGenerationOf(packet.group)) {
            if (!BeginStrokeReplay(packet))
                return Failed(packet, "the stroke cannot be started");
            continue;
        }
        if (samples) {
            if (!strokeOpen_ && !BeginStrokeReplay(packet))
                return Failed(packet, "the stroke cannot be started");
            const BatchResult batch = ApplySamples(packet);
            if (batch == BatchResult::Failed)
                return PlaybackStep::Error;
            if (batch == BatchResult::StepDone)
                return PlaybackStep::Stepped;
            continue;
        }
        if (group == PacketGroup::Paper && packet.code == CodeOf(PacketId::End)) {
            CommitStep();
            endReached_ = true;
            return PlaybackStep::Finished;
        }
        if (group == PacketGroup::Paper && ApplyPaper(packet)) {
            CommitStep();
            return PlaybackStep::Stepped;
        }
        return Failed(packet, "cannot be replayed");
    }
}

bool EventPlayer::Stop()
{
    if (Ended())
        return true;
    if (Messages().Ask(kStopQuestion, MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    FinishStroke();
    interrupted_ = true;
    return true;
}

bool EventPlayer::EnterAppendMode()
{
    CEventMngr &events = paper_.Events();
    events.SetPlaybackProgress(uint32_t(interrupted_ ? stepStart_ : readPos_), stepsPlayed_, interrupted_);
    events.MarkPlaybackEnded();
    if (!events.EnterAppendMode())
        return false;
    // Appended operations follow a complete state.
    return events.RecordSessionStart(CurrentUtcTime());
}

std::string PlaybackTitle(const std::string &paperName, int percent, int64_t elapsedMs)
{
    char text[64];
    std::snprintf(text, sizeof text, " %d%% (%lldms)", percent, static_cast<long long>(elapsedMs));
    return paperName + " : ｲﾍﾞﾝﾄ再生中" + text;
}

std::string PausedPlaybackTitle(const std::string &paperName, int percent, int64_t elapsedMs)
{
    char text[64];
    std::snprintf(text, sizeof text, " %d%% (%lldms) : ", percent, static_cast<long long>(elapsedMs));
    return paperName + " : ｲﾍﾞﾝﾄ再生" + text + "一時停止";
}

std::string EndedPlaybackTitle(const std::string &paperName, bool interrupted, int64_t elapsedMs, bool appending)
{
    char text[32];
    std::snprintf(text, sizeof text, " (%lldms) : ", static_cast<long long>(elapsedMs));
    return paperName + " : ｲﾍﾞﾝﾄ再生" + (interrupted ? "中断" : "終了") + text + (appending ? "追記ﾓｰﾄﾞ" : "追記不可");
}

} // namespace pv
