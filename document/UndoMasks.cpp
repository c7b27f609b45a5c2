// Mask records. values[0] and values[1] hold the mask's position in the list and its serial,
// which must still match before a record changes anything; values[2] and values[3] hold the
// kind's own pair:
//   44 45  new mask        — {the mask current before, -}; the mask once undone in keep.mask
//   46     deleted mask    — keep.mask the mask while it is out of the list
//   47 53  pixels changed  — keep.mask the other version
//   48     select          — {current before, current after}
//   49     move in list    — {from, to}
//   50     invert          — nothing: inverting again restores it
//   51     move            — {dx, dy} the distance moved
//   52     selection flags — {flags before, flags after} (UndoPaper::kSelection...)
//   54     name            — oldName, newName
#include "document/CLayerData.h"
#include "document/CUndoMngrEx.h"
#include "document/UndoRecords.h"
#include "selection/CMaskMngr.h"

#include <new>

namespace pv {
namespace {

// Kinds whose mask must be in the list, at its index, when the record is made.
bool MaskInList(UndoKind kind) { return kind != UndoKind::DeleteMask && kind != UndoKind::SelectMask && kind != UndoKind::SelectionFlags; }

bool StillThere(const CMaskMngr &masks, const CUndoData &r)
{
    return masks.At(r.values[0]) && masks.At(r.values[0])->serial == r.values[1];
}

bool TakeOut(CMaskMngr &masks, CUndoData &r)
{
    if (!StillThere(masks, r))
        return false;
    r.kept.mask = masks.Remove(r.values[0]);
    return r.kept.mask != nullptr;
}

bool PutBack(CMaskMngr &masks, CUndoData &r)
{
    if (!r.kept.mask)
        return false;
    masks.Select(masks.Insert(r.values[0], std::move(r.kept.mask)));
    return true;
}

bool ApplyToMasks(CMaskMngr &masks, UndoPaper &paper, CUndoData &r, bool undoing)
{
    switch (r.kind) {
    case UndoKind::NewMask:
    case UndoKind::MaskFromLayer:
        if (!undoing)
            return PutBack(masks, r);
        if (!TakeOut(masks, r))
            return false;
        masks.Select(std::min(r.values[2], masks.Count() - 1));
        return true;
    case UndoKind::DeleteMask:
        return undoing ? PutBack(masks, r) : TakeOut(masks, r);
    case UndoKind::MaskPixels:
    case UndoKind::CombineMasks:
        if (!StillThere(masks, r) || !r.kept.mask)
            return false;
        r.kept.mask = masks.Replace(r.values[0], std::move(r.kept.mask));
        r.values[1] = masks.At(r.values[0])->serial;
        return true;
    case UndoKind::SelectMask:
        return masks.At(undoing ? r.values[2] : r.values[3]) && masks.Select(undoing ? r.values[2] : r.values[3]);
    case UndoKind::MoveMaskInList: {
        const int32_t from = undoing ? r.values[3] : r.values[2], to = undoing ? r.values[2] : r.values[3];
        if (!StillThere(masks, r) || !masks.At(to) || !masks.Move(from, to))
            return false;
        r.values[0] = to;
        return masks.Select(to);
    }
    case UndoKind::InvertMask:
        if (!StillThere(masks, r))
            return false;
        masks.Invert(r.values[0]); // the version it hands back is the one the record undoes
        r.values[1] = masks.At(r.values[0])->serial;
        return true;
    case UndoKind::MoveMask: {
        if (!StillThere(masks, r))
            return false;
        const int32_t sign = undoing ? -1 : 1;
        masks.At(r.values[0])->ox -= sign * r.values[2];
        masks.At(r.values[0])->oy -= sign * r.values[3];
        return true;
    }
    case UndoKind::SelectionFlags:
        paper.SetSelectionFlags(uint8_t(undoing ? r.values[2] : r.values[3]));
        return true;
    case UndoKind::MaskName:
        if (!StillThere(masks, r))
            return false;
        masks.At(r.values[0])->name = undoing ? r.oldName : r.newName;
        return true;
    default:
        return false;
    }
}

} // namespace

std::unique_ptr<CUndoData> MakeMaskRecord(CUndoMngrEx &mngr, UndoKind kind, const CLayerData &layer, int32_t maskIndex,
                                          UndoKeep keep, UndoValues values, std::string newName)
{
    if (UndoTypeOf(int(kind)) != UndoType::Mask || !mngr.Paper())
        return nullptr;
    const CMaskMngr &masks = mngr.Paper()->Masks();
    const CMaskData *mask = MaskInList(kind) ? masks.At(maskIndex) : kind == UndoKind::DeleteMask ? keep.mask.get() : nullptr;
    const bool keepsVersion = kind == UndoKind::MaskPixels || kind == UndoKind::CombineMasks || kind == UndoKind::DeleteMask;
    if ((MaskInList(kind) || kind == UndoKind::DeleteMask) && !mask)
        return nullptr;
    std::unique_ptr<CMaskData> kept = std::move(keep.mask);
    if (keepsVersion != (kept != nullptr) || !keep.Empty())
        return nullptr; // a mask record keeps one mask at most, and only for these kinds
    try {
        auto record = std::make_unique<CUndoData>(kind, layer.index, layer.serial);
        record->rect = ToExtent(layer.ImageRectOnPaper());
        record->values = {maskIndex, mask ? mask->serial : -1, values[0], values[1]};
        if (kind == UndoKind::MaskName) {
            record->oldName = mask->name;
            record->newName = std::move(newName);
        }
        record->kept.mask = std::move(kept);
        return record;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

bool ApplyMaskRecord(CUndoMngrEx &mngr, CUndoData &record, bool undoing, SEdgeRect &rect)
{
    UndoPaper *paper = mngr.Paper();
    if (!paper || !ApplyToMasks(paper->Masks(), *paper, record, undoing))
        return false;
    paper->MasksChanged();
    rect = ToEdge(record.rect);
    return true;
}

} // namespace pv
