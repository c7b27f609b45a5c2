// The plain undo manager: fixed-count lists and region records.
#include "document/CUndoMngr.h"

#include "document/CLayerData.h"
#include "platform/Messages.h"

#include <new>

namespace pv {

void CUndoMngr::Create(int32_t undoCount, int32_t redoCount)
{
    ClearAll();
    undoLimit_ = undoCount;
    redoLimit_ = redoCount;
    undo_ = CUndoList(undoCount, false);
    redo_ = CUndoList(redoCount, false);
}

void CUndoMngr::ClearAll()
{
    undo_.Clear();
    redo_.Clear();
}

int32_t CUndoMngr::Trim()
{
    int32_t deleted = 0;
    for (; undo_.Count() > undoLimit_; ++deleted)
        undo_.DeleteOldest();
    return deleted;
}

bool CUndoMngr::Assign(const CUndoMngr &other)
{
    ClearAll();
    undoLimit_ = other.undoLimit_;
    redoLimit_ = other.redoLimit_;
    const auto copyList = [](const CUndoList &from, CUndoList &to) {
        to.SetCapacity(from.Capacity());
        // Oldest first, so each insert at the front keeps the order.
        for (int32_t i = from.Count() - 1; i >= 0; --i)
            if (!to.Insert(from.At(i)->Clone()))
                return false;
        return true;
    };
    if (copyList(other.undo_, undo_) && copyList(other.redo_, redo_))
        return true;
    ClearAll();
    return false;
}

bool CUndoMngr::PushUndo(std::unique_ptr<CUndoData> record) { return undo_.Insert(std::move(record)); }
bool CUndoMngr::PushRedo(std::unique_ptr<CUndoData> record) { return redo_.Insert(std::move(record)); }

void CUndoMngr::PushFailed()
{
    ClearAll();
    Messages().Warning(kPushFailedMessage);
}

bool CUndoMngr::PushNewRecord(std::unique_ptr<CUndoData> record)
{
    if (!record || !PushUndo(std::move(record))) {
        PushFailed();
        return false;
    }
    Trim();
    ClearRedoList();
    return true;
}

std::unique_ptr<CUndoData> MakeRegionRecord(UndoKind kind, int32_t layerIndex, int32_t layerSerial, SExtent rect,
                                            const CBlockVMTC &image)
{
    auto record = std::unique_ptr<CUndoData>(new (std::nothrow) CUndoData(kind, layerIndex, layerSerial));
    if (!record)
        return nullptr;
    // A rectangle outside the image changes nothing; its record keeps no pixels.
    if (!ClipToImage(rect, image.Width(), image.Height()))
        return record;
    record->rect = rect;
    record->pixels = CopyRegionTiles(image, rect);
    return record->pixels ? std::move(record) : nullptr;
}

bool CUndoMngr::PushRegion(int32_t layerIndex, const CLayerData &layer, UndoKind kind, SExtent rect, const CBlockVMTC &image)
{
    if (!Enabled())
        return false;
    return PushNewRecord(MakeRegionRecord(kind, layerIndex, layer.serial, rect, image));
}

bool CUndoMngr::SwapRegion(CBlockVMTC &image, SExtent &rect, bool undoing)
{
    std::unique_ptr<CUndoData> popped = undoing ? PopUndo() : PopRedo();
    if (!popped)
        return false;
    rect = popped->rect;
    auto replaced = MakeRegionRecord(popped->kind, popped->layerIndex, popped->layerSerial, popped->rect, image);
    const bool restored = !popped->pixels || RestoreRegionTiles(image, *popped->pixels, popped->rect);
    // Without the record of what was replaced the other list would skip a change: it goes.
    if (!replaced || !(undoing ? PushRedo(std::move(replaced)) : PushUndo(std::move(replaced))))
        (undoing ? redo_ : undo_).Clear();
    return restored;
}

bool CUndoMngr::UndoRegion(CBlockVMTC &image, SExtent &rect) { return SwapRegion(image, rect, true); }
bool CUndoMngr::RedoRegion(CBlockVMTC &image, SExtent &rect) { return SwapRegion(image, rect, false); }

} // namespace pv
