// The player's state, information and paper packets: the settings the following operation
// depends on go into the private pen, the paper's gradation and the player's own lists; the
// paper packets build the empty paper and its colour.
#include "document/EventPlayer.h"

#include "pixkit.h"
#include "platform/Messages.h"

namespace pv {

using namespace events;

bool EventPlayer::ApplyState(const Packet &packet)
{
    const std::span<const uint8_t> payload = packet.payload;
    if (PacketGroup(packet.group) == PacketGroup::Info)
        return true; // RecordTime and the rest describe the recording, not the picture
    switch (packet.Id()) {
    case PacketId::AppStatus: {
        const auto status = DecodePayload<PacketId::AppStatus>(payload);
        if (!status)
            return false;
        if (status->extensionFlags != 0) {
            Messages().Warning(kExtensionFlags);
            return false;
        }
        version_ = status->Version();
        return true;
    }
    case PacketId::PaperColor: {
        const auto colour = DecodePayload<PacketId::PaperColor>(payload);
        if (!colour)
            return false;
        if (colour->colour != paper_.PaperColour()) {
            paper_.SetPaperColour(colour->colour, false);
            redrawHints_ |= redraw_hint::kPaper;
        }
        return true;
    }
    case PacketId::GradationPoints: {
        const auto points = DecodePayload<PacketId::GradationPoints>(payload);
        if (!points)
            return false;
        paper_.gradation.SetGeometry(points->start.x, points->start.y, points->end.x, points->end.y);
        return true;
    }
    case PacketId::GradationForm: {
        const auto form = DecodePayload<PacketId::GradationForm>(payload);
        return form && paper_.gradation.SetSettings(form->shape, form->mirror, form->repeat, form->wrap);
    }
    case PacketId::Current: {
        const auto current = DecodePayload<PacketId::Current>(payload);
        return current && ApplyCurrent(*current);
    }
    case PacketId::PaperFlags: {
        const auto flags = DecodePayload<PacketId::PaperFlags>(payload);
        if (!flags)
            return false;
        paper_.selectionEnabled = (flags->flags & paper_flags::kSelectionEnabled) != 0;
        pen_.SetUseTone((flags->flags & paper_flags::kUseTone) != 0, true);
        pen_.SetUseGradation((flags->flags & paper_flags::kUseGradation) != 0, true);
        if (version_ < 206) {
            if (CLayerData *layer = paper_.ActiveLayer())
                layer->protectTransparency = (flags->flags & paper_flags::kLayerProtection) != 0;
        }
        return true;
    }
    case PacketId::Font: {
        const auto font = DecodePayload<PacketId::Font>(payload);
        if (font)
            font_ = *font;
        return font.has_value();
    }
    case PacketId::Text: {
        const auto text = DecodePayload<PacketId::Text>(payload);
        if (text)
            text_ = text->text;
        return text.has_value();
    }
    case PacketId::GradationColors: {
        const auto colours = DecodePayload<PacketId::GradationColors>(payload);
        if (!colours || colours->slots.empty() || colours->slots.size() % GradationColorsRecord::kSlotSize != 0)
            return false;
        gradationColours_ = colours->slots;
        return true;
    }
    case PacketId::ImageA:
    case PacketId::ImageB: {
        auto image = DecodePayload<ImageRecord>(payload);
        if (!image)
            return false;
        floorImages_[packet.code == CodeOf(PacketId::ImageA) ? 0 : 1] = std::move(*image);
        return true;
    }
    case PacketId::ColorRange:
        colourRange_.assign(payload.begin(), payload.end());
        return true;
    case PacketId::ToneDefine:
    case PacketId::ToneAttr:
        return ApplyTone(packet);
    default:
        return ApplyPenState(packet);
    }
}

bool EventPlayer::ApplyPenState(const Packet &packet)
{
    const std::span<const uint8_t> payload = packet.payload;
    switch (packet.Id()) {
    case PacketId::SubColor: {
        const auto colour = DecodePayload<PacketId::SubColor>(payload);
        if (colour)
            pen_.SetSubColor(colour->colour);
        return colour.has_value();
    }
    case PacketId::PenFlags: {
        const auto flags = DecodePayload<PacketId::PenFlags>(payload);
        if (!flags)
            return false;
        pen_.SetSizeByPressure((flags->flags & pen_flags::kSizeByPressure) != 0);
        pen_.SetOpacityByPressure((flags->flags & pen_flags::kOpacityByPressure) != 0);
        pen_.SetSmoothEdge((flags->flags & pen_flags::kSmoothEdge) != 0);
        return true;
    }
    case PacketId::PenColor: {
        const auto colour = DecodePayload<PacketId::PenColor>(payload);
        if (!colour || !pen_.SetKind(colour->kind))
            return false;
        pen_.SetColor(colour->color);
        pen_.SetDensity(colour->density);
        return true;
    }
    case PacketId::PenSize: {
        const auto size = DecodePayload<PacketId::PenSize>(payload);
        if (!size)
            return false;
        pen_.SetMaxRadius(size->maxRadius);
        pen_.SetMinSize(size->minSize);
        return true;
    }
    case PacketId::PenParams: {
        const auto params = DecodePayload<PacketId::PenParams>(payload);
        if (!params)
            return false;
        pen_.SetEffect(params->effect);
        pen_.SetEnv(params->env);
        pen_.SetSpeed(params->speed);
        pen_.SetGamma(params->gamma);
        pen_.SetSpacing(params->spacing);
        pen_.SetAirMap(params->airMap, false);
        return true;
    }
    default:
        return false; // a state packet this player does not know
    }
}

bool EventPlayer::ApplyTone(const Packet &packet)
{
    if (packet.code == CodeOf(PacketId::ToneAttr)) {
        const auto attr = DecodePayload<PacketId::ToneAttr>(packet.payload);
        uint32_t index = 0;
        if (!attr || !definedTones_.Lookup(attr->patternId, index) || index >= tones_.size())
            return false;
        PlayedTone &tone = tones_[index];
        tone.option = (attr->flags & 1) != 0;
        tone.first = attr->first;
        tone.second = attr->second;
        tone.third = attr->third;
        return true;
    }
    const auto define = DecodePayload<PacketId::ToneDefine>(packet.payload);
    if (!define || define->bitsPerPixel != 8 || define->patternType > 1 || define->width < 0 || define->height < 0 ||
        definedTones_.Contains(define->patternId))
        return false;
    PlayedTone tone;
    tone.streamId = define->patternId;
    tone.name = define->name;
    tone.option = (define->flags & ToneDefineRecord::kOptionFlag) != 0;
    tone.type = define->patternType;
    tone.first = define->first;
    tone.second = define->second;
    tone.third = define->third;
    tone.width = define->width;
    tone.height = define->height;
    if (define->patternType == 0) {
        const uint64_t size = uint64_t(uint32_t(define->width)) * uint64_t(uint32_t(define->height));
        if (size == 0 || define->uncompressedSize < size || size > (uint64_t(1) << 28))
            return false;
        tone.pixels.resize(size_t(size));
        if (pixkitDecompress(define->compressed.data(), define->compressed.size(), tone.pixels.data(), tone.pixels.size()) !=
            PIXKIT_DECODE_OK)
            return false;
    }
    if (!definedTones_.Set(tone.streamId, uint32_t(tones_.size())))
        return false;
    tones_.push_back(std::move(tone));
    return true;
}

bool EventPlayer::ApplyCurrent(const CurrentRecord &current)
{
    const bool layerChanged = !currentSeen_ || current.layer != lastCurrent_.layer;
    const bool selectionChanged = !currentSeen_ || current.selection != lastCurrent_.selection;
    currentSeen_ = true;
    lastCurrent_ = current;
    if (layerChanged && current.layer != CurrentRecord::kKeep && current.layer != paper_.ActiveLayerIndex()) {
        if (!paper_.SelectLayer(image_, current.layer))
            return false;
        redrawHints_ |= redraw_hint::kLayerList;
    }
    if (selectionChanged && current.selection != CurrentRecord::kKeep &&
        current.selection != paper_.Masks().CurrentIndex()) {
        if (!paper_.Masks().Select(current.selection))
            return false;
        redrawHints_ |= redraw_hint::kSelectionList;
    }
    return true;
}

bool EventPlayer::ApplyPaper(const Packet &packet)
{
    switch (packet.Id()) {
    case PacketId::NewPaper: {
        const auto paper = DecodePayload<PacketId::NewPaper>(packet.payload);
        return paper &&
               ApplyNewPaper(paper->paperWidth, paper->paperHeight, paper->resolution, paper->layerHeight, paper->layerWidth);
    }
    case PacketId::NewPaperV2: {
        // This form has no layer width: the layer takes the paper's.
        const auto paper = DecodePayload<PacketId::NewPaperV2>(packet.payload);
        return paper && ApplyNewPaper(paper->paperWidth, paper->paperHeight, paper->resolution, paper->layerHeight, 0);
    }
    case PacketId::SetPaperColor: {
        const auto colour = DecodePayload<PacketId::SetPaperColor>(packet.payload);
        if (!colour)
            return false;
        paper_.SetPaperColour(colour->colour & 0x00FFFFFF, false);
        redrawHints_ |= redraw_hint::kPaper | redraw_hint::kPreview;
        return true;
    }
    case PacketId::RecordStart:
        return true; // marks where a recording session began
    default:
        return false;
    }
}

bool EventPlayer::ApplyNewPaper(int32_t paperWidth, int32_t paperHeight, int32_t dpi, int32_t layerHeight,
                                int32_t layerWidth)
{
    const auto side = [](int32_t v) { return v >= 1 && v <= kMaxPaperSide; };
    if (!side(paperWidth) || !side(paperHeight))
        return false;
    if (layerWidth <= 0)
        layerWidth = paperWidth;
    if (layerHeight <= 0)
        layerHeight = paperHeight;
    if (!side(layerWidth) || !side(layerHeight))
        return false;
    if (!paper_.InitPaper(name_, image_, dpi, layerWidth, layerHeight, paperWidth, paperHeight))
        return false;
    redrawHints_ |= redraw_hint::kLayerList | redraw_hint::kPreview | redraw_hint::kPaper | redraw_hint::kLayerThumbnails;
    return true;
}

} // namespace pv
