// CUndoMngr: an undo list and a redo list limited to fixed counts, with region records — the
// history a layer keeps for itself while its paper has no manager of its own. The paper's
// manager, CUndoMngrEx, builds on it.
#pragma once

#include "document/CUndoList.h"

#include <memory>

namespace pv {

class CLayerData;

class CUndoMngr {
public:
    static constexpr const char *kPushFailedMessage = "ﾒﾓﾘ不足によりｱﾝﾄﾞｩ情報の保存に失敗しました！";

    CUndoMngr() = default;
    CUndoMngr(const CUndoMngr &) = delete;
    CUndoMngr &operator=(const CUndoMngr &) = delete;
    virtual ~CUndoMngr() = default;

    void Create(int32_t undoCount, int32_t redoCount);
    void Destroy() { ClearAll(); }

    // Deletes the oldest undo records beyond the limit; returns how many went.
    virtual int32_t Trim();
    // The other's counts and copies of its records; false (this history cleared) when a
    // record cannot be copied.
    virtual bool Assign(const CUndoMngr &other);
    virtual bool PushUndo(std::unique_ptr<CUndoData> record);
    virtual bool PushRedo(std::unique_ptr<CUndoData> record);

    int32_t UndoLimit() const { return undoLimit_; }
    int32_t RedoLimit() const { return redoLimit_; }
    bool Enabled() const { return undoLimit_ > 0; }
    bool CanUndo() const { return !undo_.Empty(); }
    bool CanRedo() const { return !redo_.Empty(); }
    int32_t UndoCount() const { return undo_.Count(); }
    int32_t RedoCount() const { return redo_.Count(); }
    const CUndoList &UndoList() const { return undo_; }
    const CUndoList &RedoList() const { return redo_; }

    void ClearUndoList() { undo_.Clear(); }
    void ClearRedoList() { redo_.Clear(); }
    void ClearAll();

    std::unique_ptr<CUndoData> PopUndo() { return undo_.TakeNewest(); }
    std::unique_ptr<CUndoData> PopRedo() { return redo_.TakeNewest(); }

    // A record of the kind holding the pixels of the rectangle of image (clipped to it).
    bool PushRegion(int32_t layerIndex, const CLayerData &layer, UndoKind kind, SExtent rect, const CBlockVMTC &image);
    // Restores the newest record's pixels into image and moves a record of the pixels they
    // replaced onto the other list; rect is the restored rectangle.
    bool UndoRegion(CBlockVMTC &image, SExtent &rect);
    bool RedoRegion(CBlockVMTC &image, SExtent &rect);

    int64_t MemoryUsed() const { return undo_.MemoryUsed() + redo_.MemoryUsed(); }

protected:
    // The record tail of every push: onto the undo list, trimmed, the redo history gone. A
    // failure clears both lists, so no older record is ever applied across the unrecorded
    // change.
    bool PushNewRecord(std::unique_ptr<CUndoData> record);
    // Clears both lists and tells the user the history could not be kept.
    void PushFailed();
    bool SwapRegion(CBlockVMTC &image, SExtent &rect, bool undoing);

    int32_t undoLimit_ = 0, redoLimit_ = 0;
    CUndoList undo_, redo_;
};

// A region record of the pixels of rect in image (clipped); null when memory runs out.
std::unique_ptr<CUndoData> MakeRegionRecord(UndoKind kind, int32_t layerIndex, int32_t layerSerial, SExtent rect,
                                            const CBlockVMTC &image);

} // namespace pv
