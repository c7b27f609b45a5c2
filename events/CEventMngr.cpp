// CEventMngr: creation, the recording states, the packet write and the step commit.
#include "events/CEventMngr.h"

#include "platform/Messages.h"

#include <algorithm>

namespace pv::events {
namespace {

constexpr const char *kRecordingFailedText =
    "ｲﾍﾞﾝﾄ記録中に例外が発生しました!\r以降のｲﾍﾞﾝﾄ記録は停止します...";

size_t ReservedSegments(const RecorderOptions &options)
{
    const uint64_t size = std::max<uint32_t>(options.segmentSize, 1);
    return static_cast<size_t>(std::max<uint64_t>(10, (size + options.initialSize - 1) / size));
}

} // namespace

CEventMngr::CEventMngr(RecorderSources &paper, RecorderOptions options)
    : paper_(paper), stream_(std::max<uint32_t>(options.segmentSize, 256), ReservedSegments(options),
                             std::move(options.allocate))
{
}

size_t CEventMngr::RingSizeFor(int undoCount)
{
    return static_cast<size_t>(std::max(8, undoCount + 34));
}

bool CEventMngr::StartRecording(const TStroke &pen, size_t ringSize)
{
    Reset();
    if (!ring_.Allocate(ringSize, ringSize) || !stream_.AppendSegment()) {
        Reset();
        return false;
    }
    pen_ = &pen;
    state_ = RecorderState::Recording;
    bool written = false;
    try {
        written = WriteState(PacketId::AppStatus, StateKind::AppStatus, AppStatusRecord{});
    } catch (...) {
    }
    if (!written) {
        Reset();
        return false;
    }
    return true;
}

void CEventMngr::Reset()
{
    stream_.Clear();
    ring_.Reset();
    definedTones_.RemoveAll();
    state_ = RecorderState::Idle;
    invalid_ = stopped_ = sealed_ = false;
    end_ = stepStart_ = 0;
    stepCount_ = 0;
    sentFlags_ = 0;
    strokeOpen_ = false;
    batchLength_ = samplesWritten_ = batchesWritten_ = 0;
    readPosition_ = 0;
    stepsPlayed_ = 0;
    stoppedMidway_ = false;
}

bool CEventMngr::ResizeRing(int undoCount)
{
    const size_t size = RingSizeFor(undoCount);
    return ring_.Resize(size, size);
}

bool CEventMngr::HasData() const
{
    return !invalid_ && ring_.IsAllocated() && stream_.Capacity() > 0;
}

bool CEventMngr::Stop()
{
    if (state_ == RecorderState::Recording)
        Messages().Warning(kRecordingFailedText);
    invalid_ = true;
    state_ = RecorderState::Idle;
    strokeOpen_ = false;
    return false;
}

bool CEventMngr::WriteParts(Parts parts)
{
    if (parts.empty() || parts[0].size() < kPacketHeaderSize)
        return Stop();
    const uint8_t group = parts[0][0], code = parts[0][1];
    uint64_t total = 0;
    for (const auto &part : parts)
        total += part.size();
    // The packet must be exactly what a reader will find, or the stream cannot be walked.
    const auto length = PacketLength(parts[0], kPacketHeaderSize, group, code);
    if (!length || *length != total - kPacketHeaderSize || total > UINT32_MAX - end_)
        return Stop();
    // Bytes beyond the end are about to be overwritten: the steps that could be redone go.
    ring_.TakeRedoCount();
    uint64_t at = end_;
    for (const auto &part : parts) {
        if (!stream_.Write(at, part))
            return Stop();
        at += part.size();
    }
    end_ = static_cast<uint32_t>(at);
    return true;
}

bool CEventMngr::WriteEncoded(std::span<const uint8_t> packet)
{
    const std::span<const uint8_t> parts[] = {packet};
    return WriteParts(parts);
}

bool CEventMngr::WritePacket(uint8_t group, uint8_t code, std::span<const uint8_t> fixed,
                             std::span<const uint8_t> variable)
{
    return Guarded([&] {
        // The length rule reads the fixed part right after the header.
        std::vector<uint8_t> head{group, code};
        head.insert(head.end(), fixed.begin(), fixed.end());
        const std::span<const uint8_t> parts[] = {head, variable};
        return WriteParts(parts);
    });
}

void CEventMngr::CommitStep()
{
    if (!IsRecording())
        return;
    if (stepCount_ == 0)
        ring_.SetFirst(stepStart_);
    else
        ring_.Push(stepStart_);
    ++stepCount_;
    stepStart_ = end_;
}

bool CEventMngr::WritePacketAndCommit(uint8_t group, uint8_t code, std::span<const uint8_t> fixed,
                                      std::span<const uint8_t> variable)
{
    if (!IsRecording())
        return true;
    if (!WritePacket(group, code, fixed, variable))
        return false;
    CommitStep();
    return true;
}

bool CEventMngr::RecordNewPaper(const NewPaperRecord &record)
{
    return Guarded([&] {
        if (!WriteRecord(PacketId::NewPaper, record))
            return false;
        CommitStep();
        return true;
    });
}

bool CEventMngr::RecordSessionStart(const SystemTime &utc)
{
    return Guarded([&] {
        InfoRecord time;
        PayloadWriter writer(time.data);
        SystemTime copy = utc;
        copy.Fields(writer);
        if (!WriteDocumentPrefix() || !WriteRecord(PacketId::RecordTime, time) ||
            !WriteRecord(PacketId::RecordStart, EmptyRecord{}))
            return false;
        recordTime_ = utc;
        CommitStep();
        return true;
    });
}

bool CEventMngr::RecordSelectionToLayer(const IndexPairRecord &first, const IndexPairValuesRecord &done)
{
    return Guarded([&] {
        if (!WriteDocumentPrefix() || !WriteRecord(PacketId::SelectionToLayer, first) ||
            !WriteRecord(PacketId::SelectionToLayerDone, done))
            return false;
        CommitStep();
        return true;
    });
}

std::vector<uint8_t> CEventMngr::CopyStream() const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(end_);
    ForEachStreamPiece([&](std::span<const uint8_t> piece) { bytes.insert(bytes.end(), piece.begin(), piece.end()); });
    return bytes;
}

void CEventMngr::ForEachStreamPiece(const std::function<void(std::span<const uint8_t>)> &visit) const
{
    stream_.ForEachPiece(0, end_, visit);
}

} // namespace pv::events
