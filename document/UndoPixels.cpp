// Alpha records (one byte per pixel of a rectangle) and transform records (no pixels: the
// transform is applied again).
#include "document/CLayerData.h"
#include "document/CLayerMngr.h"
#include "document/LayerTransforms.h"
#include "document/UndoRecords.h"

#include <new>

namespace pv {

std::unique_ptr<CUndoData> MakeAlphaRecord(const CLayerData &layer, SExtent rect, UndoKind kind)
{
    const CBlockVMTC *image = layer.Image();
    if (UndoTypeOf(int(kind)) != UndoType::Alpha || !image)
        return nullptr;
    try {
        auto record = std::make_unique<CUndoData>(kind, layer.index, layer.serial);
        if (!ClipToImage(rect, image->Width(), image->Height()))
            return record; // nothing of the image is touched: nothing to keep
        record->rect = rect;
        record->raw.resize(size_t(int64_t(rect.width) * rect.height));
        return image->ReadAlpha(rect, record->raw.data()) ? std::move(record) : nullptr;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

std::unique_ptr<CUndoData> MakeTransformRecord(const CLayerData &layer, SExtent rect, UndoKind kind, const CLayerMngr &stack)
{
    if (UndoTypeOf(int(kind)) != UndoType::Transform)
        return nullptr;
    try {
        auto record = std::make_unique<CUndoData>(kind, layer.index, layer.serial);
        if (SingleLayerTransform(kind) != kind) {
            // The layers the operation turned, not the ones visible when the record is
            // applied: visibility may have changed in between.
            for (int32_t i = 0; i < stack.Count(); ++i)
                if (stack.At(i)->visible)
                    record->numbers.push_back(stack.At(i)->serial);
            record->rect = {0, 0, stack.PaperWidth(), stack.PaperHeight()};
        } else {
            if (!ClipToImage(rect, layer.Image()->Width(), layer.Image()->Height()))
                return nullptr;
            record->rect = rect;
        }
        return record;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

bool ApplyTransformRecord(const CUndoData &record, CLayerData *layer, CLayerMngr &stack, SEdgeRect &rect)
{
    rect = ToEdge(record.rect);
    if (SingleLayerTransform(record.kind) == record.kind)
        return layer && TransformLayerImage(*layer, record.kind, record.rect);
    std::vector<CLayerData *> layers;
    for (int32_t serial : record.numbers) {
        CLayerData *l = stack.LayerOfSerial(serial);
        if (!l || !l->Image())
            return false; // checked before anything is turned
        layers.push_back(l);
    }
    bool ok = true;
    for (CLayerData *l : layers)
        ok = TransformLayerImage(*l, record.kind, {0, 0, l->Image()->Width(), l->Image()->Height()}) && ok;
    return ok;
}

} // namespace pv
