// Keeping the stream in line with the paper's undo history. The step ring holds the start
// of every committed step; undoing a step moves the end back to its start and leaves its
// bytes in place for a redo, and the state packets it held are marked unsent, so the next
// operation writes them again.
#include "events/CEventMngr.h"

#include "platform/Messages.h"

namespace pv::events {
namespace {

// The sent flag of each state packet code; ImageA, ImageB and ColorRange have none.
std::optional<StateKind> KindOfStateCode(uint8_t code)
{
    switch (code) {
    case CodeOf(PacketId::AppStatus): return StateKind::AppStatus;
    case CodeOf(PacketId::PaperColor): return StateKind::PaperColor;
    case CodeOf(PacketId::SubColor): return StateKind::SubColor;
    case CodeOf(PacketId::GradationPoints): return StateKind::GradationPoints;
    case CodeOf(PacketId::GradationForm): return StateKind::GradationForm;
    case CodeOf(PacketId::Current): return StateKind::Current;
    case CodeOf(PacketId::PaperFlags): return StateKind::PaperFlags;
    case CodeOf(PacketId::PenFlags): return StateKind::PenFlags;
    case CodeOf(PacketId::PenColor): return StateKind::PenColor;
    case CodeOf(PacketId::PenSize): return StateKind::PenSize;
    case CodeOf(PacketId::PenParams): return StateKind::PenParams;
    case CodeOf(PacketId::Font): return StateKind::Font;
    case CodeOf(PacketId::Text): return StateKind::Text;
    case CodeOf(PacketId::ToneDefine): return StateKind::Tone;
    case CodeOf(PacketId::ToneAttr): return StateKind::Tone;
    case CodeOf(PacketId::GradationColors): return StateKind::GradationColors;
    default: return std::nullopt;
    }
}

constexpr const char *kRingRepairedText = "ｲﾍﾞﾝﾄ状態の問題を修正しました!";
constexpr const char *kRingProblemText = "ｲﾍﾞﾝﾄ記録に問題が検出されました!";

} // namespace

bool CEventMngr::ClearSentFlagsIn(uint64_t from, uint64_t to)
{
    const WalkResult walk = stream_.Walk(from, to, [&](const SegmentPacket &p) {
        if (p.group != static_cast<uint8_t>(PacketGroup::State))
            return true;
        const auto kind = KindOfStateCode(p.code);
        if (kind)
            sentFlags_ &= ~SentBit(*kind);
        uint8_t id[4];
        if (p.code == CodeOf(PacketId::ToneDefine) && stream_.Read(p.PayloadOffset(), id))
            definedTones_.Remove(uint32_t(id[0]) | uint32_t(id[1]) << 8 | uint32_t(id[2]) << 16 | uint32_t(id[3]) << 24);
        return true;
    });
    return walk.valid() && walk.offset == to;
}

bool CEventMngr::UndoStep()
{
    if (!IsRecording() || !HasData() || strokeOpen_ || stepCount_ < 1 || ring_.UndoCount() < 1)
        return false;
    if (ring_.RedoCount() == 0) {
        // The redo side remembers where the undone step ends.
        ring_.Push(end_);
        ring_.Undo();
    }
    const uint32_t start = ring_.ValueAtCursor();
    if (start > end_ || !ClearSentFlagsIn(start, end_))
        return Stop();
    ring_.Undo();
    end_ = stepStart_ = start;
    --stepCount_;
    sentFlags_ &= ~SentBit(StateKind::Current);
    return true;
}

bool CEventMngr::RedoStep()
{
    if (!IsRecording() || !HasData() || strokeOpen_ || ring_.RedoCount() <= 1)
        return false;
    ring_.Redo();
    uint32_t next = 0;
    if (!ring_.Peek(1, next) || next < end_ || next > stream_.Capacity()) {
        ring_.Undo();
        return false;
    }
    end_ = stepStart_ = next;
    ++stepCount_;
    return true;
}

bool CEventMngr::CheckBeforeUndo(size_t undoable, const std::function<size_t()> &trimUndo)
{
    if (ring_.UndoCount() >= undoable)
        return true;
    Messages().Information(kRingRepairedText);
    if (trimUndo)
        undoable = trimUndo();
    if (ring_.UndoCount() >= undoable)
        return true;
    Messages().Warning(kRingProblemText);
    return false;
}

bool CEventMngr::CheckBeforeRedo(size_t redoable)
{
    const size_t ringRedo = ring_.RedoCount() > 0 ? ring_.RedoCount() - 1 : 0;
    if (ringRedo >= redoable)
        return true;
    Messages().Warning(kRingProblemText);
    return false;
}

} // namespace pv::events
