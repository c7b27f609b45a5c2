// How the paper's undo manager makes and applies each record type; one file per type.
// A maker returns null when the record cannot be made (a kind of the wrong type, a layer or
// mask that is not where the arguments say, or no memory). An apply function changes nothing
// when it fails; on success the caller flips the record's done state. undoing is true when
// the record goes from the undo list to the redo list.
#pragma once

#include "document/CUndoData.h"

#include <memory>
#include <string>
#include <vector>

namespace pv {

class CLayerData;
class CLayerMngr;
class CUndoMngrEx;

// Alpha (type 2) and transform (type 3) records.
std::unique_ptr<CUndoData> MakeAlphaRecord(const CLayerData &layer, SExtent rect, UndoKind kind);
std::unique_ptr<CUndoData> MakeTransformRecord(const CLayerData &layer, SExtent rect, UndoKind kind, const CLayerMngr &stack);
bool ApplyTransformRecord(const CUndoData &record, CLayerData *layer, CLayerMngr &stack, SEdgeRect &rect);

// Attribute records (type 4).
std::unique_ptr<CUndoData> MakeAttributeRecord(CUndoMngrEx &mngr, const CLayerData *layer, UndoKind kind, UndoValues values,
                                               std::string newName);
bool ApplyAttributeRecord(CUndoMngrEx &mngr, CUndoData &record, CLayerData *layer, bool undoing, SEdgeRect &rect);

// Structure records (type 5).
std::unique_ptr<CUndoData> MakeStructureRecord(CUndoMngrEx &mngr, UndoKind kind, int32_t layerSerial, UndoKeep keep,
                                               UndoValues values, std::vector<uint8_t> bytes, std::vector<int32_t> numbers);
bool ApplyStructureRecord(CUndoMngrEx &mngr, CUndoData &record, bool undoing, int32_t &layerIndex, SEdgeRect &rect);

// Mask records (type 6).
std::unique_ptr<CUndoData> MakeMaskRecord(CUndoMngrEx &mngr, UndoKind kind, const CLayerData &layer, int32_t maskIndex,
                                          UndoKeep keep, UndoValues values, std::string newName);
bool ApplyMaskRecord(CUndoMngrEx &mngr, CUndoData &record, bool undoing, SEdgeRect &rect);

} // namespace pv
