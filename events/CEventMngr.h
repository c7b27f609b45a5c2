// CEventMngr, the recording side: the in-memory event stream of one paper, the state
// packets written only when they change, stroke samples in batches, the step ring that keeps
// the stream in line with the paper's undo history, the End marker around saving, sealing,
// and the switch from playback to appending. Playback itself lives with the player.
//
// Every operation entry point writes the state prefix, then the operation's packets, then
// closes the step. A packet is written whole or not at all. Any failure while recording
// stops the recording and marks the event data invalid: from then on the stream no longer
// matches the paper, and a save must not write it (EventDataValid()).
//
// The paper calls, in order:
//   new paper:  StartRecording(pen, RingSizeFor(undo count)), RecordNewPaper(...),
//               [RecordImage(PacketId::LoadImage, ...)], RecordSessionStart(CurrentUtcTime())
//   stroke:     BeginStroke(x, y, p), AddStrokeSample(...) per sample, EndStroke()
//   commands:   RecordDocumentCommand<id>(record) / RecordPenCommand<id>(record) and the
//               entries for fills, text, colour ranges, selection-to-layer and the floor filter
//   undo/redo:  CheckBeforeUndo + UndoStep, CheckBeforeRedo + RedoStep; DiscardRedo
//               whenever the paper drops its redo history; ClearUndo with the undo history
//   save:       SaveStream(sealed, write)
#pragma once

#include "events/CMapDD.h"
#include "events/CRingBuf.h"
#include "events/PacketCodec.h"
#include "events/RecorderSources.h"
#include "events/SegmentedStream.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace pv {
class TStroke;
class TMTC;
class TChannel;
} // namespace pv

namespace pv::events {

enum class RecorderState : uint8_t { Idle = 0, Recording = 1, Playing = 2, Ended = 3 };

// One sent flag per state packet kind (bit = value).
enum class StateKind : uint8_t {
    AppStatus, PaperColor, SubColor, GradationPoints, GradationForm, Current, PaperFlags,
    PenFlags, PenColor, PenSize, PenParams, Font, Text, Tone, GradationColors, Count
};
constexpr uint32_t SentBit(StateKind kind) { return 1u << static_cast<unsigned>(kind); }

struct RecorderOptions {
    uint32_t segmentSize = 65536;
    uint32_t initialSize = 1048576; // sizes the segment list's first reservation only
    SegmentAllocator allocate = AllocateSegmentMemory;
};

enum class PaperFlagsScan { Check, Set, Clear };
struct PaperFlagsScanResult {
    bool ok = false;             // the walk reached the end of the stream
    uint32_t paperFlagsPackets = 0;
    bool bitFound = false;       // some PaperFlags packet had the bit before the scan
};

// What a channel packet carries besides the coverage and the current selection.
struct ChannelFillArgs {
    uint16_t layer = 0;
    Point layerSize;             // the 54-byte form
    Point position;              // the 54-byte form; zero if none
    GeometryValue geometry[3];   // the 72-byte form (codes 2 and 3)
    uint8_t setting1 = 0, setting2 = 0, setting3 = 0;
    uint16_t setting4 = 0;
};

struct FloorTexture {
    const TMTC &image;
    std::string name;
};

class CEventMngr {
public:
    explicit CEventMngr(RecorderSources &paper, RecorderOptions options = {});
    CEventMngr(const CEventMngr &) = delete;
    CEventMngr &operator=(const CEventMngr &) = delete;

    // ---- control
    static size_t RingSizeFor(int undoCount);
    bool StartRecording(const TStroke &pen, size_t ringSize);
    void Reset();
    // "イベント記録の中止": asks to stop (OK/Cancel), then whether to save the events first
    // (Yes/No; saveEvents does it), then resets. False when the user cancels.
    bool AskAndStopRecording(const std::function<void()> &saveEvents);
    bool ResizeRing(int undoCount);
    bool IsRecording() const { return state_ == RecorderState::Recording; }
    bool HasData() const;
    bool EventDataValid() const { return !invalid_; }
    RecorderState State() const { return state_; }
    bool Stopped() const { return stopped_; }

    // ---- writing
    bool WritePacket(uint8_t group, uint8_t code, std::span<const uint8_t> fixed,
                     std::span<const uint8_t> variable = {});
    void CommitStep();
    bool WritePacketAndCommit(uint8_t group, uint8_t code, std::span<const uint8_t> fixed,
                              std::span<const uint8_t> variable = {});
    bool WriteDocumentPrefix();
    bool WritePenPrefix();

    // ---- operations (each returns true when recorded or when not recording)
    bool RecordNewPaper(const NewPaperRecord &record);
    bool RecordSessionStart(const SystemTime &utc);
    // PasteIntoLayer, PasteAsNewLayer or LoadImage; extra is the 72-byte placement or null.
    bool RecordImage(PacketId id, uint16_t layer, const TMTC &image, const uint8_t *extra = nullptr,
                     const std::string &name = {});
    template <PacketId id> bool RecordDocumentCommand(const PayloadOf<id> &record);
    template <PacketId id> bool RecordPenCommand(const PayloadOf<id> &record);
    // The two packets of one selection-to-layer command, one step.
    bool RecordSelectionToLayer(const IndexPairRecord &first, const IndexPairValuesRecord &done);
    bool RecordChannelFill(uint8_t code, const ChannelFillArgs &args, const TChannel &coverage);
    bool RecordText(uint8_t code, const FontRecord &font, const std::string &text, const ChannelFillArgs &args,
                    const TChannel &coverage);
    bool RecordColorRange(const ColorRangeRecord &range, const ChannelFillArgs &args, const TChannel &selection);
    bool RecordFloorFilter(const FilterRecordRecord &record, const FloorTexture *textureA,
                           const FloorTexture *textureB);

    // ---- strokes
    bool BeginStroke(float x, float y, float pressure);
    // Inline: the one call per input sample.
    bool AddStrokeSample(float x, float y, float pressure)
    {
        if (!strokeOpen_)
            return !IsRecording();
        batch_[batchLength_++] = {x, y, pressure};
        ++samplesWritten_;
        return batchLength_ < static_cast<int32_t>(StrokeSamplesRecord::kMaxSamples) ||
               FlushBatch(PacketGroup::StrokePoints);
    }
    bool EndStroke();
    bool StrokeOpen() const { return strokeOpen_; }
    int32_t SamplesWritten() const { return samplesWritten_; }

    // ---- undo coupling
    bool UndoStep();
    bool RedoStep();
    void DiscardRedo() { ring_.TakeRedoCount(); }
    void ClearUndo() { ring_.Reset(); }
    size_t RingUndoCount() const { return ring_.UndoCount(); }
    size_t RingRedoCount() const { return ring_.RedoCount(); }
    // The checks before an undo and a redo, with their messages; trimUndo asks the undo
    // manager to trim itself and returns the new number of undoable operations.
    bool CheckBeforeUndo(size_t undoable, const std::function<size_t()> &trimUndo);
    bool CheckBeforeRedo(size_t redoable);

    // ---- saving and sealing
    bool WriteEndMarker();
    bool RemoveEndMarker();
    // End written, the seal set when asked, write() called, the seal cleared and End removed
    // again on every path. A sealed save fails when there is no PaperFlags packet to seal.
    bool SaveStream(bool sealed, const std::function<bool()> &write);
    PaperFlagsScanResult ScanPaperFlags(PaperFlagsScan mode, uint16_t bit = paper_flags::kSealed);

    // ---- the player's side
    bool LoadStream(std::span<const uint8_t> bytes, const TStroke &pen, size_t ringSize, bool sealed);
    void SetPlaybackProgress(uint32_t readPosition, int32_t stepsPlayed, bool stoppedMidway);
    void MarkPlaybackEnded() { state_ = RecorderState::Ended; }
    bool EnterAppendMode();
    uint8_t StreamGeneration() const { return streamGeneration_; }
    uint16_t FileFlags() const { return fileFlags_; }
    void SetFileInfo(uint8_t generation, uint16_t flags) { streamGeneration_ = generation, fileFlags_ = flags; }

    // ---- the stream
    uint32_t End() const { return end_; }
    uint32_t StepStart() const { return stepStart_; }
    int32_t StepCount() const { return stepCount_; }
    uint64_t Capacity() const { return stream_.Capacity(); }
    size_t SegmentCount() const { return stream_.SegmentCount(); }
    uint32_t SentFlags() const { return sentFlags_; }
    const SystemTime &RecordTime() const { return recordTime_; }
    // The segments themselves, for reading and walking [0, End()) in place.
    const CSegmentedStream &Stream() const { return stream_; }
    std::vector<uint8_t> CopyStream() const;
    void ForEachStreamPiece(const std::function<void(std::span<const uint8_t>)> &visit) const;

private:
    using Parts = std::span<const std::span<const uint8_t>>;

    // The core write: parts[0] holds header and fixed part; the total must match the length
    // rule. Stops the recording on failure.
    bool WriteParts(Parts parts);
    bool WriteEncoded(std::span<const uint8_t> packet);
    template <class Record> bool WriteRecord(PacketId id, const Record &record);
    template <class Record> bool WriteRecord(uint8_t group, uint8_t code, const Record &record);
    template <class Record> bool WriteState(PacketId id, StateKind kind, const Record &record);
    bool WriteStateEncoded(StateKind kind);
    bool Stop();
    template <class Body> bool Guarded(Body body);

    bool WriteCurrent();
    bool WriteToneState();
    bool WriteGradationColours();
    bool FlushBatch(PacketGroup group);
    bool WriteImagePacket(uint8_t group, uint8_t code, uint16_t layer, const TMTC &image, const uint8_t *extra,
                          const std::string &name);
    bool WriteChannelPacket(uint8_t code, const ChannelFillArgs &args, const TChannel &coverage);

    // Clears the sent flags of the state packets in [from, to) (and forgets tone
    // definitions among them); false when the range does not walk.
    bool ClearSentFlagsIn(uint64_t from, uint64_t to);
    std::optional<uint32_t> LastStepStart() const;
    bool DropEndStep();

    RecorderSources &paper_;
    const TStroke *pen_ = nullptr;
    CSegmentedStream stream_;
    CMapDD definedTones_{10};
    CRingBufDWORD ring_;

    RecorderState state_ = RecorderState::Idle;
    bool invalid_ = false;
    bool stopped_ = false;
    bool sealed_ = false;
    uint8_t streamGeneration_ = 18;
    uint16_t fileFlags_ = 0;
    uint32_t end_ = 0;
    uint32_t stepStart_ = 0;
    int32_t stepCount_ = 0;
    uint32_t sentFlags_ = 0;
    std::array<std::vector<uint8_t>, static_cast<size_t>(StateKind::Count)> lastPayload_;
    std::vector<uint8_t> scratch_;

    std::array<StrokeSample, StrokeSamplesRecord::kMaxSamples> batch_{};
    int32_t batchLength_ = 0;
    int32_t samplesWritten_ = 0;
    int32_t batchesWritten_ = 0;
    bool strokeOpen_ = false;
    StrokeBeginRecord strokeHeader_;
    SystemTime recordTime_;

    uint32_t readPosition_ = 0;
    int32_t stepsPlayed_ = 0;
    bool stoppedMidway_ = false;
};

// ---- templates

template <class Body> bool CEventMngr::Guarded(Body body)
{
    if (!IsRecording())
        return true;
    try {
        return body() || Stop();
    } catch (...) {
        return Stop();
    }
}

template <class Record> bool CEventMngr::WriteRecord(uint8_t group, uint8_t code, const Record &record)
{
    scratch_.clear();
    if (!AppendPacket(scratch_, group, code, record))
        return Stop();
    return WriteEncoded(scratch_);
}

template <class Record> bool CEventMngr::WriteRecord(PacketId id, const Record &record)
{
    return WriteRecord(GroupOf(id), CodeOf(id), record);
}

template <class Record> bool CEventMngr::WriteState(PacketId id, StateKind kind, const Record &record)
{
    scratch_.clear();
    if (!AppendPacket(scratch_, GroupOf(id), CodeOf(id), record))
        return Stop();
    return WriteStateEncoded(kind);
}

constexpr bool IsDocumentGroup(uint8_t group)
{
    return group == 2 || group == 4 || group == 10 || group == 12;
}

constexpr bool IsPenCommandGroup(uint8_t group)
{
    return group == 6 || (group >= 32 && group <= 35) || group == 38;
}

template <PacketId id> bool CEventMngr::RecordDocumentCommand(const PayloadOf<id> &record)
{
    static_assert(IsDocumentGroup(GroupOf(id)), "a packet that follows the document prefix");
    return Guarded([&] {
        if (!WriteDocumentPrefix() || !WriteRecord(id, record))
            return false;
        CommitStep();
        return true;
    });
}

template <PacketId id> bool CEventMngr::RecordPenCommand(const PayloadOf<id> &record)
{
    static_assert(IsPenCommandGroup(GroupOf(id)), "a packet that follows the pen prefix");
    return Guarded([&] {
        if (!WritePenPrefix())
            return false;
        // The gradation fill replays with the colours in force, whether or not the pen uses them.
        if constexpr (id == PacketId::FillGradation)
            if (!WriteGradationColours())
                return false;
        if (!WriteRecord(id, record))
            return false;
        CommitStep();
        return true;
    });
}

} // namespace pv::events
