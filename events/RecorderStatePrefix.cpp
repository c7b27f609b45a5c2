// The state prefixes of the recorder: each state packet is built from the live objects and
// written only when its sent flag is clear or its payload differs from the one last written;
// Current precedes every operation. Tone patterns are defined once (ToneDefine with the
// compressed pattern) and then only their attributes follow (ToneAttr).
#include "events/CEventMngr.h"

#include "events/BlockCompress.h"
#include "tools/TStroke.h"

#include <algorithm>

namespace pv::events {
namespace {

uint16_t PaperFlagsOf(const RecorderSources &paper, const TStroke &pen)
{
    uint16_t flags = 0;
    if (paper.SelectionEnabled())
        flags |= paper_flags::kSelectionEnabled;
    if (pen.useTone())
        flags |= paper_flags::kUseTone;
    if (pen.useGradation())
        flags |= paper_flags::kUseGradation;
    return flags;
}

uint16_t PenFlagsOf(const TStroke &pen)
{
    uint16_t flags = 0;
    if (pen.sizeByPressure())
        flags |= pen_flags::kSizeByPressure;
    if (pen.opacityByPressure())
        flags |= pen_flags::kOpacityByPressure;
    if (pen.smoothEdge())
        flags |= pen_flags::kSmoothEdge;
    return flags;
}

ToneAttrRecord AttributesOf(const TonePatternSource &pattern)
{
    const ToneDefineRecord &r = pattern.record;
    ToneAttrRecord attr;
    attr.patternId = r.patternId;
    attr.patternType = static_cast<uint8_t>(r.patternType);
    attr.flags = static_cast<uint8_t>(((r.flags & ToneDefineRecord::kOptionFlag) ? 1 : 0) | (r.patternType == 1 ? 2 : 0));
    attr.ownValue = r.patternType == 1 ? pattern.ownValue : 0;
    attr.third = static_cast<uint16_t>(r.third);
    attr.first = r.first;
    attr.second = r.second;
    return attr;
}

} // namespace

bool CEventMngr::WriteStateEncoded(StateKind kind)
{
    const std::span<const uint8_t> payload = std::span(scratch_).subspan(kPacketHeaderSize);
    std::vector<uint8_t> &last = lastPayload_[static_cast<size_t>(kind)];
    if ((sentFlags_ & SentBit(kind)) && std::ranges::equal(payload, last))
        return true;
    if (!WriteEncoded(scratch_))
        return false;
    last.assign(payload.begin(), payload.end());
    sentFlags_ |= SentBit(kind);
    return true;
}

bool CEventMngr::WriteCurrent()
{
    const CurrentRecord current{paper_.ActiveLayerIndex(), paper_.ActiveSelectionIndex()};
    sentFlags_ &= ~SentBit(StateKind::Current);
    return WriteState(PacketId::Current, StateKind::Current, current);
}

bool CEventMngr::WriteDocumentPrefix()
{
    if (!pen_)
        return Stop();
    const TStroke &pen = *pen_;
    return WriteState(PacketId::AppStatus, StateKind::AppStatus, AppStatusRecord{}) &&
           WriteState(PacketId::PaperColor, StateKind::PaperColor, ColourRecord{paper_.PaperColour()}) &&
           WriteState(PacketId::SubColor, StateKind::SubColor, ColourRecord{pen.subColor()}) &&
           WriteState(PacketId::GradationPoints, StateKind::GradationPoints, paper_.GradationPoints()) &&
           WriteState(PacketId::GradationForm, StateKind::GradationForm, paper_.GradationForm()) &&
           WriteCurrent() &&
           WriteState(PacketId::PaperFlags, StateKind::PaperFlags, FlagsRecord{PaperFlagsOf(paper_, pen)}) &&
           (!pen.useTone() || WriteToneState()) && (!pen.useGradation() || WriteGradationColours());
}

bool CEventMngr::WritePenPrefix()
{
    if (!WriteDocumentPrefix())
        return false;
    const TStroke &pen = *pen_;
    const PenColorRecord colour{pen.color(), pen.kind(), pen.EffectiveDensity(false)};
    const PenSizeRecord size{pen.maxRadius(), pen.minSize()};
    const PenParamsRecord params{pen.effect(),           pen.env(), pen.speed(), pen.gamma(),
                                 pen.EffectiveInterval(), static_cast<uint8_t>(pen.airMap())};
    return WriteState(PacketId::PenFlags, StateKind::PenFlags, FlagsRecord{PenFlagsOf(pen)}) &&
           WriteState(PacketId::PenColor, StateKind::PenColor, colour) &&
           WriteState(PacketId::PenSize, StateKind::PenSize, size) &&
           WriteState(PacketId::PenParams, StateKind::PenParams, params);
}

bool CEventMngr::WriteToneState()
{
    const std::optional<TonePatternSource> pattern = paper_.CurrentTonePattern();
    if (!pattern)
        return true; // nothing screens the pen, here or in playback
    const ToneDefineRecord &source = pattern->record;
    if (source.patternType > 1)
        return false;
    const ToneAttrRecord attributes = AttributesOf(*pattern);
    if (definedTones_.Contains(source.patternId))
        return WriteState(PacketId::ToneAttr, StateKind::Tone, attributes);

    ToneDefineRecord definition = source;
    definition.compressed.clear();
    definition.uncompressedSize = 0;
    if (source.patternType == 0) {
        const uint64_t size = uint64_t(std::max(source.width, 0)) * uint64_t(std::max(source.height, 0));
        if (source.width < 0 || source.height < 0 || pattern->pixels.size() != size || size > UINT32_MAX)
            return false;
        auto compressed = CompressBlock(pattern->pixels);
        if (!compressed)
            return false;
        definition.uncompressedSize = static_cast<uint32_t>(size);
        definition.compressed = std::move(*compressed);
    }
    const uint32_t at = end_;
    if (!WriteRecord(PacketId::ToneDefine, definition))
        return false;
    definedTones_.Set(source.patternId, at);
    scratch_.clear();
    AppendPacket(scratch_, static_cast<uint8_t>(PacketGroup::State), CodeOf(PacketId::ToneAttr), attributes);
    lastPayload_[static_cast<size_t>(StateKind::Tone)].assign(scratch_.begin() + kPacketHeaderSize, scratch_.end());
    sentFlags_ |= SentBit(StateKind::Tone);
    return true;
}

bool CEventMngr::WriteGradationColours()
{
    const GradationRamp ramp = paper_.CurrentGradationRamp();
    if (ramp.slots.size() % GradationColorsRecord::kSlotSize != 0)
        return false;
    GradationColorsRecord colours;
    colours.form = ramp.form;
    colours.slots.assign(ramp.slots.begin(), ramp.slots.end());
    return WriteState(PacketId::GradationColors, StateKind::GradationColors, colours);
}

} // namespace pv::events
