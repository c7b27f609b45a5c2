// The paper's undo manager: heavy-record limits, the pushes of every record type and the
// dispatch of undo and redo by type.
#include "document/CUndoMngrEx.h"

#include "document/CLayerData.h"
#include "document/CLayerMngr.h"
#include "document/UndoRecords.h"

#include <algorithm>
#include <new>

namespace pv {

void CUndoMngrEx::Create(UndoPaper *paper, int32_t slack, int32_t redoCount, int32_t undoCount, CLayerMngr *layers)
{
    CUndoMngr::Create(undoCount, redoCount);
    undo_.SetGrows(true);
    redo_.SetGrows(true);
    paper_ = paper;
    layers_ = layers;
    slack_ = slack;
}

CLayerMngr *CUndoMngrEx::ReplaceLayerManager(CLayerMngr *layers)
{
    std::swap(layers_, layers);
    return layers;
}

int32_t CUndoMngrEx::Trim()
{
    int32_t deleted = 0;
    for (; undo_.Count() > undoLimit_ + slack_; ++deleted)
        undo_.DeleteOldest();
    return deleted;
}

bool CUndoMngrEx::Assign(const CUndoMngr &other)
{
    if (!CUndoMngr::Assign(other))
        return false;
    if (const auto *paperManager = dynamic_cast<const CUndoMngrEx *>(&other))
        layers_ = paperManager->layers_;
    return true;
}

bool CUndoMngrEx::PushBelowHeavyLimit(CUndoList &list, int32_t limit, std::unique_ptr<CUndoData> record)
{
    // Light records go too when they are older than the heavy ones that must go, so the
    // list never reaches back past the oldest heavy record it can keep.
    while (!list.Empty() && list.HeavyCount() >= limit)
        list.DeleteOldest();
    return list.Insert(std::move(record));
}

bool CUndoMngrEx::PushUndo(std::unique_ptr<CUndoData> record) { return PushBelowHeavyLimit(undo_, undoLimit_, std::move(record)); }
bool CUndoMngrEx::PushRedo(std::unique_ptr<CUndoData> record) { return PushBelowHeavyLimit(redo_, redoLimit_, std::move(record)); }

bool CUndoMngrEx::PushRegionRecord(const CLayerData &layer, SExtent rect, UndoKind kind)
{
    if (!Enabled())
        return false;
    if (!layer.Image()) {
        PushFailed();
        return false;
    }
    switch (UndoTypeOf(int(kind))) {
    case UndoType::Region:
        return PushRegion(layer.index, layer, kind, rect, *layer.Image());
    case UndoType::Alpha:
        return PushNewRecord(MakeAlphaRecord(layer, rect, kind));
    case UndoType::Transform:
        return layers_ && PushNewRecord(MakeTransformRecord(layer, rect, kind, *layers_));
    default:
        PushFailed();
        return false;
    }
}

bool CUndoMngrEx::PushFilterRecord(const CLayerData &layer, std::unique_ptr<CBlockVMTC> oldPixels, UndoKind kind)
{
    if (!Enabled())
        return false;
    const CBlockVMTC *image = layer.Image();
    std::unique_ptr<CUndoData> record;
    if (UndoTypeOf(int(kind)) == UndoType::Region && image && oldPixels && oldPixels->Width() == image->Width() &&
        oldPixels->Height() == image->Height()) {
        record.reset(new (std::nothrow) CUndoData(kind, layer.index, layer.serial));
        if (record) {
            record->rect = {0, 0, image->Width(), image->Height()};
            record->pixels = std::move(oldPixels);
        }
    }
    return PushNewRecord(std::move(record));
}

bool CUndoMngrEx::PushAttributeRecord(const CLayerData *layer, UndoKind kind, UndoValues values, std::string newName)
{
    if (!Enabled())
        return false;
    return PushNewRecord(MakeAttributeRecord(*this, layer, kind, values, std::move(newName)));
}

bool CUndoMngrEx::PushStructureRecord(UndoKind kind, int32_t layerSerial, UndoKeep keep, UndoValues values,
                                      std::vector<uint8_t> bytes, std::vector<int32_t> numbers)
{
    if (!Enabled())
        return false;
    return PushNewRecord(MakeStructureRecord(*this, kind, layerSerial, std::move(keep), values, std::move(bytes), std::move(numbers)));
}

bool CUndoMngrEx::PushMaskRecord(UndoKind kind, const CLayerData &layer, int32_t maskIndex, UndoKeep keep, UndoValues values,
                                 std::string newName)
{
    if (!Enabled())
        return false;
    return PushNewRecord(MakeMaskRecord(*this, kind, layer, maskIndex, std::move(keep), values, std::move(newName)));
}

bool CUndoMngrEx::Undo(int32_t &layerIndex, CLayerData *layer, SEdgeRect &rect) { return Apply(true, layerIndex, layer, rect); }
bool CUndoMngrEx::Redo(int32_t &layerIndex, CLayerData *layer, SEdgeRect &rect) { return Apply(false, layerIndex, layer, rect); }

bool CUndoMngrEx::Apply(bool undoing, int32_t &layerIndex, CLayerData *layer, SEdgeRect &rect)
{
    CUndoList &from = undoing ? undo_ : redo_;
    CUndoList &to = undoing ? redo_ : undo_;
    const CUndoData *newest = from.Newest();
    if (!newest)
        return false;
    const UndoType type = newest->type;

    if (type == UndoType::Region) {
        SExtent restored;
        if (!layer || !layer->Image()) {
            from.TakeNewest();
            return false;
        }
        const bool ok = SwapRegion(*layer->Image(), restored, undoing);
        rect = ToEdge(restored);
        return ok;
    }

    std::unique_ptr<CUndoData> record = from.TakeNewest();
    std::unique_ptr<CUndoData> opposite;
    bool ok = false;
    switch (type) {
    case UndoType::Alpha:
        if (layer && layer->Image()) {
            opposite = MakeAlphaRecord(*layer, record->rect, record->kind);
            ok = record->raw.empty() || layer->Image()->WriteAlpha(record->rect, record->raw.data());
            rect = ToEdge(record->rect);
        }
        break;
    case UndoType::Transform:
        ok = layers_ && ApplyTransformRecord(*record, layer, *layers_, rect);
        break;
    case UndoType::Attribute:
        ok = ApplyAttributeRecord(*this, *record, layer, undoing, rect);
        break;
    case UndoType::Structure:
        ok = ApplyStructureRecord(*this, *record, undoing, layerIndex, rect);
        break;
    case UndoType::Mask:
        ok = ApplyMaskRecord(*this, *record, undoing, rect);
        break;
    default:
        break;
    }
    if (!ok)
        return false;
    if (type != UndoType::Alpha) {
        record->done = !record->done;
        opposite = std::move(record);
    }
    if (!(undoing ? PushRedo(std::move(opposite)) : PushUndo(std::move(opposite))))
        to.Clear();
    return true;
}

bool CUndoMngrEx::SetCounts(int32_t undoCount, int32_t redoCount)
{
    if (undoCount <= 0)
        undoCount = redoCount = 0;
    redoCount = std::min(undoCount, redoCount);
    bool changed = false;
    const auto limit = [&changed](CUndoList &list, int32_t &current, int32_t wanted) {
        if (wanted == current)
            return;
        current = wanted;
        while (list.HeavyCount() > wanted)
            list.DeleteOldest();
        changed = true;
    };
    limit(undo_, undoLimit_, undoCount);
    limit(redo_, redoLimit_, redoCount);
    return changed;
}

} // namespace pv
