// The stream around saving and after playback: the End marker written for the file and
// taken out again, the seal bit in every PaperFlags packet, loading a stream for the player,
// and appending to a played stream.
#include "events/CEventMngr.h"

#include "platform/Messages.h"

#include <algorithm>
#include <cstdio>

namespace pv::events {
namespace {

constexpr const char *kEndRemovalFailedText = "Alert: failed to remove EventFin!";
constexpr const char *kStopQuestionText =
    "ｲﾍﾞﾝﾄ記録を終了します。\r一度終了すると、記録を再開することはできません!";
constexpr const char *kSaveQuestionText = "今までのｲﾍﾞﾝﾄを保存しますか?";
constexpr const char *kAppendFailedText = "ｲﾍﾞﾝﾄ追記ﾓｰﾄﾞに移行できませんでした!\r以降のｲﾍﾞﾝﾄは記録されません...";

bool IsEnd(const SegmentPacket &p)
{
    return p.group == GroupOf(PacketId::End) && p.code == CodeOf(PacketId::End);
}

} // namespace

bool CEventMngr::WriteEndMarker()
{
    if (!IsRecording())
        return false;
    DiscardRedo();
    if (!Guarded([&] { return WriteRecord(PacketId::End, EmptyRecord{}); }) || !IsRecording())
        return false;
    CommitStep();
    state_ = RecorderState::Ended;
    return true;
}

std::optional<uint32_t> CEventMngr::LastStepStart() const
{
    if (ring_.UndoCount() >= 1)
        return ring_.ValueAtCursor();
    // No ring entries (a stream that was played, not recorded): find the step by walking.
    uint64_t previous = 0, last = 0;
    const WalkResult walk = stream_.Walk(0, end_, [&](const SegmentPacket &p) {
        if (EndsStep(p.group))
            previous = last, last = p.End();
        return true;
    });
    if (!walk.valid() || last != end_)
        return std::nullopt;
    return static_cast<uint32_t>(previous);
}

// Drops the last step when it is the single packet End, with only state and information
// packets before it.
bool CEventMngr::DropEndStep()
{
    const auto start = LastStepStart();
    if (!start || *start > end_)
        return false;
    bool onlyEnd = false;
    const WalkResult walk = stream_.Walk(*start, end_, [&](const SegmentPacket &p) {
        if (IsEnd(p) && p.End() == end_)
            return onlyEnd = true;
        return p.group == static_cast<uint8_t>(PacketGroup::State) || p.group == static_cast<uint8_t>(PacketGroup::Info);
    });
    if (!walk.valid() || !onlyEnd || !ClearSentFlagsIn(*start, end_))
        return false;
    end_ = stepStart_ = *start;
    ring_.Pop();
    if (stepCount_ > 0)
        --stepCount_;
    return true;
}

bool CEventMngr::RemoveEndMarker()
{
    if (state_ != RecorderState::Ended || !DropEndStep())
        return false;
    state_ = RecorderState::Recording;
    return true;
}

bool CEventMngr::AskAndStopRecording(const std::function<void()> &saveEvents)
{
    if (Messages().Ask(kStopQuestionText, MessageButtons::OkCancel) != MessageAnswer::Ok)
        return false;
    if (Messages().Ask(kSaveQuestionText, MessageButtons::YesNo) == MessageAnswer::Yes && saveEvents)
        saveEvents();
    Reset();
    return true;
}

bool CEventMngr::SaveStream(bool sealed, const std::function<bool()> &write)
{
    if (!IsRecording() || !HasData() || !WriteEndMarker())
        return false;
    bool ok = true;
    if (sealed) {
        const PaperFlagsScanResult seal = ScanPaperFlags(PaperFlagsScan::Set);
        ok = seal.ok && seal.paperFlagsPackets > 0;
    }
    if (ok) {
        try {
            ok = write && write();
        } catch (...) {
            ok = false;
        }
    }
    if (sealed)
        ScanPaperFlags(PaperFlagsScan::Clear);
    if (!RemoveEndMarker()) {
        Messages().Warning(kEndRemovalFailedText);
        return false;
    }
    return ok;
}

PaperFlagsScanResult CEventMngr::ScanPaperFlags(PaperFlagsScan mode, uint16_t bit)
{
    PaperFlagsScanResult result;
    uint8_t lastGroup = 0, lastCode = 0;
    const WalkResult walk = stream_.Walk(0, end_, [&](const SegmentPacket &p) {
        if (p.group == GroupOf(PacketId::PaperFlags) && p.code == CodeOf(PacketId::PaperFlags)) {
            uint8_t bytes[2];
            stream_.Read(p.PayloadOffset(), bytes);
            uint16_t flags = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
            ++result.paperFlagsPackets;
            result.bitFound = result.bitFound || (flags & bit) != 0;
            if (mode != PaperFlagsScan::Check) {
                flags = mode == PaperFlagsScan::Set ? flags | bit : flags & ~bit;
                const uint8_t changed[2] = {static_cast<uint8_t>(flags), static_cast<uint8_t>(flags >> 8)};
                stream_.Overwrite(p.PayloadOffset(), changed);
            }
        }
        lastGroup = p.group, lastCode = p.code;
        return true;
    });
    result.ok = walk.valid();
    if (!result.ok) {
        uint8_t header[2] = {0, 0};
        stream_.Read(walk.offset, std::span(header).first(std::min<uint64_t>(2, end_ - walk.offset)));
        char text[160];
        std::snprintf(text, sizeof text, "unknown packet at 0x%x(0x%x,0x%x)\rlast code at 0x%x(0x%x,0x%x)",
                      static_cast<unsigned>(walk.offset + kPacketHeaderSize), header[0], header[1],
                      static_cast<unsigned>(walk.offset), lastGroup, lastCode);
        Messages().Warning(text);
    }
    return result;
}

bool CEventMngr::LoadStream(std::span<const uint8_t> bytes, const TStroke &pen, size_t ringSize, bool sealed)
{
    Reset();
    if (bytes.size() > UINT32_MAX || !ring_.Allocate(ringSize, ringSize) || !stream_.AppendSegment() ||
        !stream_.Write(0, bytes)) {
        Reset();
        return false;
    }
    pen_ = &pen;
    end_ = static_cast<uint32_t>(bytes.size());
    sealed_ = sealed;
    state_ = RecorderState::Playing;
    return true;
}

void CEventMngr::SetPlaybackProgress(uint32_t readPosition, int32_t stepsPlayed, bool stoppedMidway)
{
    readPosition_ = readPosition;
    stepsPlayed_ = stepsPlayed;
    stoppedMidway_ = stoppedMidway;
}

bool CEventMngr::EnterAppendMode()
{
    if (state_ != RecorderState::Playing && state_ != RecorderState::Ended)
        return false;
    const auto refuse = [&] {
        Messages().Warning(kAppendFailedText);
        Reset();
        return false;
    };
    const PaperFlagsScanResult seal = ScanPaperFlags(PaperFlagsScan::Check);
    if (sealed_ || !seal.ok || seal.bitFound || (stoppedMidway_ && readPosition_ > end_))
        return refuse();
    if (stoppedMidway_)
        end_ = readPosition_;
    // The player stops between steps; anywhere else the stream could not be continued.
    if (!stream_.Walk(0, end_, {}).valid())
        return refuse();
    stepStart_ = end_;
    stepCount_ = std::max(stepsPlayed_, 0);
    if (state_ == RecorderState::Playing)
        stream_.KeepSegments(end_ / stream_.SegmentSize() + 1);
    sentFlags_ = 0;
    definedTones_.RemoveAll();
    ring_.Reset();
    readPosition_ = 0;
    stepsPlayed_ = 0;
    stoppedMidway_ = false;
    stopped_ = true;
    // A played stream normally ends with End; the recording continues in front of it.
    DropEndStep();
    if (!ring_.IsAllocated() || !pen_)
        return refuse();
    state_ = RecorderState::Recording;
    return true;
}

} // namespace pv::events
