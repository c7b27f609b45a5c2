// CUndoMngrEx: the paper's undo manager. It knows the paper and its layer stack, keeps every
// record type, and limits its lists by the number of heavy records (pixel copies, kept
// layers and masks) instead of by a fixed capacity, with a slack capping the light ones.
#pragma once

#include "document/CUndoMngr.h"
#include "document/UndoPaper.h"

#include <string>
#include <vector>

namespace pv {

class CLayerMngr;

class CUndoMngrEx : public CUndoMngr {
public:
    static constexpr int32_t kSlack = 32;

    void Create(UndoPaper *paper, int32_t slack, int32_t redoCount, int32_t undoCount, CLayerMngr *layers);
    // The stack the whole-canvas records act on; returns the previous one.
    CLayerMngr *ReplaceLayerManager(CLayerMngr *layers);
    CLayerMngr *LayerManager() const { return layers_; }
    UndoPaper *Paper() const { return paper_; }
    int32_t Slack() const { return slack_; }

    int32_t Trim() override;
    bool Assign(const CUndoMngr &other) override;
    bool PushUndo(std::unique_ptr<CUndoData> record) override;
    bool PushRedo(std::unique_ptr<CUndoData> record) override;

    // Region, alpha and transform kinds, for the rectangle of the layer's image.
    bool PushRegionRecord(const CLayerData &layer, SExtent rect, UndoKind kind);
    // A region record of the whole image that takes over a copy of the old pixels the
    // operation already made (filters).
    bool PushFilterRecord(const CLayerData &layer, std::unique_ptr<CBlockVMTC> oldPixels, UndoKind kind);
    // Attribute kinds; pushed before the change, except the offsets, pushed after the move:
    // 17 paper colour (layer null), 18-21 and 25 the layer's byte, 24 the name (newName is the
    // name given), 22 values = the offset before the move, 23 values = the distance moved and
    // the mask's serial.
    bool PushAttributeRecord(const CLayerData *layer, UndoKind kind, UndoValues values = {}, std::string newName = {});
    // Structure kinds (see UndoStructure.cpp for what each keeps); layerSerial names the layer
    // in the stack the record is about, which must be there (or, for a deleted layer, in keep).
    bool PushStructureRecord(UndoKind kind, int32_t layerSerial, UndoKeep keep, UndoValues values = {},
                             std::vector<uint8_t> bytes = {}, std::vector<int32_t> numbers = {});
    // Mask kinds (see UndoMasks.cpp): the mask at maskIndex, the rectangle that of the layer.
    bool PushMaskRecord(UndoKind kind, const CLayerData &layer, int32_t maskIndex, UndoKeep keep, UndoValues values = {},
                        std::string newName = {});

    const CUndoData *PeekUndo() const { return undo_.Newest(); }
    const CUndoData *PeekRedo() const { return redo_.Newest(); }
    void DropUndo() { undo_.TakeNewest(); }
    void DropRedo() { redo_.TakeNewest(); }

    // Applies the newest record to the picture and moves it (or the record of what it
    // replaced) to the other list. layer is the record's layer, null when it has none; on
    // return layerIndex is the layer to show and rect what to refresh. A record that cannot
    // be applied is freed and the result is false.
    bool Undo(int32_t &layerIndex, CLayerData *layer, SEdgeRect &rect);
    bool Redo(int32_t &layerIndex, CLayerData *layer, SEdgeRect &rect);

    // New counts; a count of 0 or less disables undo. True when anything changed.
    bool SetCounts(int32_t undoCount, int32_t redoCount);

private:
    bool Apply(bool undoing, int32_t &layerIndex, CLayerData *layer, SEdgeRect &rect);
    bool PushBelowHeavyLimit(CUndoList &list, int32_t limit, std::unique_ptr<CUndoData> record);

    UndoPaper *paper_ = nullptr;
    CLayerMngr *layers_ = nullptr;
    int32_t slack_ = kSlack;
};

} // namespace pv
