// CLayerMngr: the ordered layers of one paper (index 0 at the bottom), the active index and
// the default-name counter, with the primitives to add, remove, move, swap, copy and merge
// layers. It records no events and draws nothing; the paper does both around each call.
#pragma once

#include "document/CLayerData.h"
#include "document/UndoKinds.h"

#include <memory>
#include <string>
#include <vector>

namespace pv {

class CUndoMngrEx;

class CLayerMngr {
public:
    static constexpr int32_t kMaxLayers = 10000;
    static constexpr int32_t kThumbnailBox = 33;

    CLayerMngr();

    void SetPaperSize(int32_t width, int32_t height);
    int32_t PaperWidth() const { return paperWidth_; }
    int32_t PaperHeight() const { return paperHeight_; }

    // "ﾚｲﾔ" followed by name counter + n.
    std::string DefaultName(int32_t n) const;
    std::string NextDefaultName() const { return DefaultName(1); }
    void NameFromCounter(int32_t index, int32_t step);
    void CopyName(int32_t to, int32_t from);
    int32_t NameCounter() const { return nameCounter_; }
    void SetNameCounter(int32_t n) { nameCounter_ = n; }

    int32_t Count() const { return int32_t(layers_.size()); }
    int32_t LastIndex() const { return Count() - 1; }
    bool CanAdd() const { return Count() < kMaxLayers; }
    bool IsValidIndex(int32_t i) const { return i >= 0 && i < Count(); }
    int32_t Active() const { return active_; }
    int32_t SetActive(int32_t i);
    CLayerData *At(int32_t i) const { return IsValidIndex(i) ? layers_[size_t(i)].get() : nullptr; }
    void Renumber();
    void ClampActive();

    // The layer's position, or -1 with the message shown.
    int32_t AddLayer(int32_t index, int32_t width, int32_t height, int mode, bool withUndo, uint8_t opacity, bool visible);
    int32_t AppendLayer(int32_t width, int32_t height, int mode, bool withUndo, uint8_t opacity, bool visible);
    int32_t InsertExisting(int32_t index, std::unique_ptr<CLayerData> layer);
    std::unique_ptr<CLayerData> Replace(int32_t index, std::unique_ptr<CLayerData> layer);
    std::unique_ptr<CLayerData> Detach(int32_t index);
    void Delete(int32_t index);
    void DeleteAll();
    // -1 when to equals from or from is invalid; otherwise the clamped destination.
    int32_t Move(int32_t to, int32_t from);
    void SwapWith(int32_t index, CLayerMngr &other, int32_t otherIndex, bool renumberOther);
    bool CopyLayerContent(int32_t to, int32_t from);
    void FitThumbnail(int32_t index, int32_t width, int32_t height);

    int32_t VisibleCount() const;
    int32_t FirstVisible() const;
    std::vector<uint8_t> VisibilitySnapshot() const;
    void ToggleAll();
    void SetAll(bool visible);
    bool ShowOnly(int32_t index);

    int32_t IndexOfSerial(int32_t serial) const;
    CLayerData *LayerOfSerial(int32_t serial, int32_t *index = nullptr) const;
    int32_t SerialAt(int32_t index) const;
    void DropUndoHistories();
    int64_t UndoMemory() const;
    int64_t MemoryUse() const;

    // Merges the upper layer b into the lower layer a (see the .cpp). The merged layer replaces
    // a; the old lower layer is handed back when keepOld is set (for undo), freed otherwise.
    // A failure leaves the stack exactly as it was.
    bool Merge(int32_t a, int32_t b, bool keepOld, int variant, std::unique_ptr<CLayerData> *oldLower = nullptr);

    // One step of the paper's history: the newest record is applied to the layer it names
    // (found by serial; stack records may have none). layerIndex is the layer to show, kind
    // the record's kind (its flag word tells what to refresh) and rect the changed area. A
    // failed undo clears the whole history with a message; a failed redo clears what could
    // have been redone.
    bool UndoStep(CUndoMngrEx &undo, int32_t &layerIndex, UndoKind &kind, SEdgeRect &rect);
    bool RedoStep(CUndoMngrEx &undo, int32_t &layerIndex, UndoKind &kind, SEdgeRect &rect);

private:
    bool Step(CUndoMngrEx &undo, bool undoing, int32_t &layerIndex, UndoKind &kind, SEdgeRect &rect);

    std::vector<std::unique_ptr<CLayerData>> layers_;
    int32_t active_ = -1;
    int32_t paperWidth_ = 0, paperHeight_ = 0;
    int32_t nameCounter_ = 0;
};

} // namespace pv
