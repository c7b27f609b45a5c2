// Attribute records: a stored value swapped with the picture's current one.
#include "document/CLayerData.h"
#include "document/CLayerMngr.h"
#include "document/CUndoMngrEx.h"
#include "document/UndoRecords.h"
#include "selection/CMaskMngr.h"

#include <new>

namespace pv {
namespace {

SExtent WholeImage(const CLayerData &layer)
{
    return layer.Image() ? SExtent{0, 0, layer.Image()->Width(), layer.Image()->Height()} : SExtent{};
}

CMaskData *MaskOfSerial(CMaskMngr &masks, int32_t serial)
{
    for (int32_t i = 0; i < masks.Count(); ++i)
        if (masks.At(i)->serial == serial)
            return masks.At(i);
    return nullptr;
}

} // namespace

std::unique_ptr<CUndoData> MakeAttributeRecord(CUndoMngrEx &mngr, const CLayerData *layer, UndoKind kind, UndoValues values,
                                               std::string newName)
{
    if (UndoTypeOf(int(kind)) != UndoType::Attribute)
        return nullptr;
    const bool ofPaper = kind == UndoKind::PaperColour;
    if (ofPaper ? !mngr.Paper() : !layer)
        return nullptr;
    try {
        auto record = std::make_unique<CUndoData>(kind, ofPaper ? -1 : layer->index, ofPaper ? -1 : layer->serial);
        if (layer)
            record->rect = WholeImage(*layer);
        switch (kind) {
        case UndoKind::PaperColour: record->values[0] = int32_t(mngr.Paper()->PaperColour()); break;
        case UndoKind::Opacity: record->values[0] = layer->opacity; break;
        case UndoKind::Dither: record->values = {layer->dither, layer->ditherAmount, 0, 0}; break;
        case UndoKind::BlendMode: record->values[0] = layer->blendMode; break;
        case UndoKind::Visibility: record->values[0] = layer->visible; break;
        case UndoKind::Protection: record->values[0] = layer->protectTransparency; break;
        case UndoKind::LayerOffset:
        case UndoKind::LayerAndMaskOffset: record->values = values; break;
        case UndoKind::LayerName:
            record->oldName = layer->name;
            record->newName = std::move(newName);
            break;
        default: return nullptr;
        }
        return record;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

bool ApplyAttributeRecord(CUndoMngrEx &mngr, CUndoData &record, CLayerData *layer, bool undoing, SEdgeRect &rect)
{
    if (record.kind == UndoKind::PaperColour) {
        if (!mngr.Paper())
            return false;
        const uint32_t current = mngr.Paper()->PaperColour();
        mngr.Paper()->SetPaperColour(uint32_t(record.values[0]));
        record.values[0] = int32_t(current);
        if (const CLayerMngr *stack = mngr.LayerManager())
            rect = {0, 0, stack->PaperWidth(), stack->PaperHeight()};
        return true;
    }
    if (!layer || layer->serial != record.layerSerial)
        return false;
    int32_t &v0 = record.values[0], &v1 = record.values[1];
    int32_t old = 0;
    switch (record.kind) {
    case UndoKind::Opacity:
        old = layer->opacity;
        layer->SetOpacity(uint8_t(v0));
        v0 = old;
        break;
    case UndoKind::Dither: {
        const int32_t oldOn = layer->dither, oldAmount = layer->ditherAmount;
        layer->SetDither(v0 != 0, uint8_t(v1), layer->random);
        v0 = oldOn;
        v1 = oldAmount;
        break;
    }
    case UndoKind::BlendMode:
        old = layer->blendMode;
        layer->SetBlendMode(uint8_t(v0));
        v0 = old;
        break;
    case UndoKind::Visibility:
        old = layer->visible;
        layer->SetVisible(v0 != 0);
        v0 = old;
        break;
    case UndoKind::Protection:
        old = layer->protectTransparency;
        layer->protectTransparency = v0 != 0;
        v0 = old;
        break;
    case UndoKind::LayerOffset:
        std::swap(layer->offsetX, v0);
        std::swap(layer->offsetY, v1);
        break;
    case UndoKind::LayerAndMaskOffset: {
        // Both must still be the ones that moved, or neither moves.
        CMaskData *mask = mngr.Paper() ? MaskOfSerial(mngr.Paper()->Masks(), record.values[2]) : nullptr;
        if (!mask)
            return false;
        const int32_t dx = undoing ? -v0 : v0, dy = undoing ? -v1 : v1;
        layer->offsetX -= dx;
        layer->offsetY -= dy;
        mask->ox -= dx;
        mask->oy -= dy;
        mngr.Paper()->MasksChanged();
        break;
    }
    case UndoKind::LayerName:
        layer->name = undoing ? record.oldName : record.newName;
        break;
    default:
        return false;
    }
    rect = ToEdge(WholeImage(*layer));
    return true;
}

} // namespace pv
