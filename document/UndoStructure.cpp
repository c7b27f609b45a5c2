// Structure records: layers taken out of or put back into the stack, layer versions swapped,
// visibility sets, and whole-stack exchanges. What each kind keeps:
//   26 28 29  new layer        — nothing while the layer is in the stack; the layer once undone
//   27        deleted layer    — keep.layer (the layer), values[0] unused
//   30        move in stack    — values {from, to}
//   31        merge down       — keep.layer the upper layer, keep.other the lower layer's other
//                                version; values {upper index, upper serial}; layerSerial the
//                                merged layer
//   32        merge visible    — keep.layers the merged-away layers, lowest first, numbers their
//                                stack positions; layerSerial the merged layer
//   33 35     layer replaced   — keep.layer the other version
//   34        + mask offset    — values {dx, dy, mask serial}: the distance the mask moved
//   36        selection to layer — bytes the source layer's other alpha plane, values[0] the
//                                source layer's serial; layerSerial the new layer
//   37 38 39  visibility       — bytes: one visible flag per layer, as it was
//   40        canvas turn      — values {clockwise, width, height}
//   41 43     size, crop       — keep.stack the other stack, values {dx, dy}: how the masks moved
//   42        resample         — keep.stack and keep.masks (none when there were no masks)
#include "document/CLayerData.h"
#include "document/CLayerMngr.h"
#include "document/CUndoMngrEx.h"
#include "document/UndoRecords.h"
#include "selection/CMaskMngr.h"

#include <algorithm>
#include <new>

namespace pv {
namespace {

struct StructureContext {
    CUndoMngrEx &mngr;
    CLayerMngr &stack;
    CUndoData &record;
    bool undoing;
    int32_t &layerIndex;
    SEdgeRect &rect;
};

void MoveEveryMask(CMaskMngr &masks, int32_t dx, int32_t dy)
{
    for (int32_t i = 0; i < masks.Count(); ++i) {
        masks.At(i)->ox -= dx;
        masks.At(i)->oy -= dy;
    }
}

SEdgeRect PaperRect(const CLayerMngr &stack) { return {0, 0, stack.PaperWidth(), stack.PaperHeight()}; }

bool ApplyAddedLayer(StructureContext &c)
{
    CUndoData &r = c.record;
    if (c.undoing) {
        const int32_t at = c.stack.IndexOfSerial(r.layerSerial);
        if (at < 0)
            return false;
        r.kept.layer = c.stack.Detach(at);
        c.layerIndex = std::min(at, c.stack.LastIndex());
        return true;
    }
    if (!r.kept.layer)
        return false;
    c.layerIndex = c.stack.InsertExisting(r.layerIndex, std::move(r.kept.layer));
    return c.layerIndex >= 0;
}

bool ApplyDeletedLayer(StructureContext &c)
{
    c.undoing = !c.undoing; // a deletion undone is an addition redone
    const bool ok = ApplyAddedLayer(c);
    c.undoing = !c.undoing;
    return ok;
}

bool ApplyMoveInStack(StructureContext &c)
{
    int32_t &from = c.record.values[0], &to = c.record.values[1];
    if (c.stack.SerialAt(to) != c.record.layerSerial || !c.stack.IsValidIndex(from))
        return false;
    if (from != to && c.stack.Move(from, to) < 0)
        return false;
    std::swap(from, to);
    c.layerIndex = to;
    return true;
}

bool ApplyMergeDown(StructureContext &c)
{
    CUndoData &r = c.record;
    const int32_t lower = c.stack.IndexOfSerial(r.layerSerial);
    if (lower < 0 || !r.kept.other)
        return false;
    if (c.undoing) {
        if (!r.kept.layer)
            return false;
        r.kept.other = c.stack.Replace(lower, std::move(r.kept.other));
        c.layerIndex = c.stack.InsertExisting(r.values[0], std::move(r.kept.layer));
        return true;
    }
    const int32_t upper = c.stack.IndexOfSerial(r.values[1]);
    if (upper < 0)
        return false;
    r.kept.layer = c.stack.Detach(upper);
    r.kept.other = c.stack.Replace(c.stack.IndexOfSerial(r.layerSerial), std::move(r.kept.other));
    c.layerIndex = c.stack.IndexOfSerial(r.layerSerial);
    return true;
}

// numbers holds (stack position, serial) pairs of the merged-away layers, lowest first.
bool ApplyMergeAll(StructureContext &c)
{
    CUndoData &r = c.record;
    const size_t n = r.numbers.size() / 2;
    if (n == 0)
        return false;
    if (c.undoing) {
        const int32_t merged = c.stack.IndexOfSerial(r.layerSerial);
        if (merged != r.numbers[0] || r.kept.layers.size() != n)
            return false;
        std::vector<std::unique_ptr<CLayerData>> layers = std::move(r.kept.layers);
        r.kept.layers.clear();
        r.kept.layers.push_back(c.stack.Replace(merged, std::move(layers[0])));
        for (size_t k = 1; k < n; ++k)
            c.stack.InsertExisting(r.numbers[2 * k], std::move(layers[k]));
        c.layerIndex = merged;
        return true;
    }
    if (r.kept.layers.size() != 1)
        return false;
    for (size_t k = 0; k < n; ++k)
        if (c.stack.SerialAt(r.numbers[2 * k]) != r.numbers[2 * k + 1])
            return false; // checked before anything leaves the stack
    std::vector<std::unique_ptr<CLayerData>> layers(n);
    for (size_t k = n - 1; k >= 1; --k)
        layers[k] = c.stack.Detach(r.numbers[2 * k]);
    layers[0] = c.stack.Replace(r.numbers[0], std::move(r.kept.layers[0]));
    r.kept.layers = std::move(layers);
    c.layerIndex = r.numbers[0];
    return true;
}

bool ApplyReplacedLayer(StructureContext &c)
{
    CUndoData &r = c.record;
    const int32_t at = c.stack.IndexOfSerial(r.layerSerial);
    CMaskData *mask = nullptr;
    if (r.kind == UndoKind::LayerTransformWithMask) {
        if (!c.mngr.Paper())
            return false;
        CMaskMngr &masks = c.mngr.Paper()->Masks();
        for (int32_t i = 0; i < masks.Count() && !mask; ++i)
            mask = masks.At(i)->serial == r.values[2] ? masks.At(i) : nullptr;
        if (!mask)
            return false;
    }
    if (at < 0 || !r.kept.layer)
        return false;
    r.kept.layer = c.stack.Replace(at, std::move(r.kept.layer));
    r.layerSerial = c.stack.SerialAt(at);
    if (mask) {
        const int32_t sign = c.undoing ? -1 : 1;
        mask->ox -= sign * r.values[0];
        mask->oy -= sign * r.values[1];
        c.mngr.Paper()->MasksChanged();
    }
    c.layerIndex = at;
    c.rect = c.stack.At(at)->ImageRectOnPaper();
    return true;
}

bool ApplySelectionToLayer(StructureContext &c)
{
    CUndoData &r = c.record;
    CLayerData *source = c.stack.LayerOfSerial(r.values[0]);
    if (!source || !source->Image() || int64_t(r.raw.size()) != int64_t(source->Image()->Width()) * source->Image()->Height())
        return false;
    if (!ApplyAddedLayer(c))
        return false;
    source->Image()->SwapAlpha(r.raw.data());
    return true;
}

bool ApplyVisibilitySet(StructureContext &c)
{
    std::vector<uint8_t> &flags = c.record.raw;
    if (int64_t(flags.size()) != c.stack.Count())
        return false;
    for (int32_t i = 0; i < c.stack.Count(); ++i) {
        const uint8_t current = c.stack.At(i)->visible;
        c.stack.At(i)->SetVisible(flags[size_t(i)] != 0);
        flags[size_t(i)] = current;
    }
    c.rect = PaperRect(c.stack);
    return true;
}

bool ApplyCanvasTurn(StructureContext &c)
{
    const bool clockwise = c.record.values[0] != 0;
    if (!c.mngr.Paper()->RotateCanvas(c.undoing ? !clockwise : clockwise))
        return false;
    std::swap(c.record.values[1], c.record.values[2]);
    c.rect = PaperRect(*c.mngr.LayerManager());
    return true;
}

bool ApplyStackExchange(StructureContext &c)
{
    CUndoData &r = c.record;
    UndoPaper &paper = *c.mngr.Paper();
    if (!r.kept.stack)
        return false;
    CLayerMngr *incoming = r.kept.stack.get();
    r.kept.stack = paper.ExchangeLayerStack(std::move(r.kept.stack));
    c.mngr.ReplaceLayerManager(incoming);
    if (r.kind == UndoKind::ResamplePicture) {
        if (r.kept.masks)
            r.kept.masks = paper.ExchangeMasks(std::move(r.kept.masks));
    } else {
        const int32_t sign = c.undoing ? -1 : 1;
        MoveEveryMask(paper.Masks(), sign * r.values[0], sign * r.values[1]);
    }
    paper.MasksChanged();
    c.layerIndex = std::min(c.layerIndex, incoming->LastIndex());
    c.rect = PaperRect(*incoming);
    return true;
}

// Where the layer a record names must be when it is pushed.
enum class LayerAt { Stack, Keep, Paper };

struct StructureRule {
    UndoKind kind;
    LayerAt layer;
    bool (*apply)(StructureContext &);
};

constexpr StructureRule kRules[] = {
    {UndoKind::NewLayer, LayerAt::Stack, ApplyAddedLayer},
    {UndoKind::DeleteLayer, LayerAt::Keep, ApplyDeletedLayer},
    {UndoKind::DuplicateLayer, LayerAt::Stack, ApplyAddedLayer},
    {UndoKind::PasteAsNewLayer, LayerAt::Stack, ApplyAddedLayer},
    {UndoKind::MoveInStack, LayerAt::Stack, ApplyMoveInStack},
    {UndoKind::MergeDown, LayerAt::Stack, ApplyMergeDown},
    {UndoKind::MergeAll, LayerAt::Stack, ApplyMergeAll},
    {UndoKind::LayerTransform, LayerAt::Stack, ApplyReplacedLayer},
    {UndoKind::LayerTransformWithMask, LayerAt::Stack, ApplyReplacedLayer},
    {UndoKind::LayerResampled, LayerAt::Stack, ApplyReplacedLayer},
    {UndoKind::SelectionToLayer, LayerAt::Stack, ApplySelectionToLayer},
    {UndoKind::ShowOnlyLayer, LayerAt::Stack, ApplyVisibilitySet},
    {UndoKind::ShowAllLayers, LayerAt::Stack, ApplyVisibilitySet},
    {UndoKind::ToggleAllLayers, LayerAt::Stack, ApplyVisibilitySet},
    {UndoKind::RotateCanvas, LayerAt::Paper, ApplyCanvasTurn},
    {UndoKind::CanvasSize, LayerAt::Paper, ApplyStackExchange},
    {UndoKind::ResamplePicture, LayerAt::Paper, ApplyStackExchange},
    {UndoKind::Crop, LayerAt::Paper, ApplyStackExchange},
};

const StructureRule *FindRule(UndoKind kind)
{
    for (const StructureRule &rule : kRules)
        if (rule.kind == kind)
            return &rule;
    return nullptr;
}

// What a kind must be given, checked before the record is made.
bool KeepsWhatItNeeds(UndoKind kind, const UndoKeep &keep, const std::vector<uint8_t> &bytes, const std::vector<int32_t> &numbers,
                      const CLayerMngr &stack, const UndoValues &values)
{
    switch (kind) {
    case UndoKind::DeleteLayer:
    case UndoKind::LayerTransform:
    case UndoKind::LayerTransformWithMask:
    case UndoKind::LayerResampled: return keep.layer != nullptr;
    case UndoKind::MergeDown: return keep.layer && keep.other && keep.layer->serial == values[1];
    case UndoKind::MergeAll: return !keep.layers.empty() && keep.layers.size() == numbers.size();
    case UndoKind::SelectionToLayer: {
        const CLayerData *source = stack.LayerOfSerial(values[0]);
        return source && source->Image() &&
               int64_t(bytes.size()) == int64_t(source->Image()->Width()) * source->Image()->Height();
    }
    case UndoKind::ShowOnlyLayer:
    case UndoKind::ShowAllLayers:
    case UndoKind::ToggleAllLayers: return int64_t(bytes.size()) == stack.Count();
    case UndoKind::CanvasSize:
    case UndoKind::Crop:
    case UndoKind::ResamplePicture: return keep.stack != nullptr;
    default: return true;
    }
}

} // namespace

std::unique_ptr<CUndoData> MakeStructureRecord(CUndoMngrEx &mngr, UndoKind kind, int32_t layerSerial, UndoKeep keep,
                                               UndoValues values, std::vector<uint8_t> bytes, std::vector<int32_t> numbers)
{
    const StructureRule *rule = FindRule(kind);
    CLayerMngr *stack = mngr.LayerManager();
    if (!rule || !stack || !KeepsWhatItNeeds(kind, keep, bytes, numbers, *stack, values))
        return nullptr;
    int32_t index = -1;
    SEdgeRect rect = PaperRect(*stack);
    switch (rule->layer) {
    case LayerAt::Stack: {
        const CLayerData *layer = stack->LayerOfSerial(layerSerial, &index);
        if (!layer)
            return nullptr;
        rect = layer->ImageRectOnPaper();
        break;
    }
    case LayerAt::Keep:
        if (keep.layer->serial != layerSerial)
            return nullptr;
        index = keep.layer->index;
        rect = keep.layer->ImageRectOnPaper();
        break;
    case LayerAt::Paper:
        if (!mngr.Paper())
            return nullptr;
        break;
    }
    try {
        auto record = std::make_unique<CUndoData>(kind, index, layerSerial);
        record->rect = ToExtent(rect);
        record->values = values;
        record->raw = std::move(bytes);
        if (kind == UndoKind::MergeAll)
            for (size_t k = 0; k < numbers.size(); ++k) {
                record->numbers.push_back(numbers[k]);
                record->numbers.push_back(keep.layers[k]->serial);
            }
        record->kept = std::move(keep);
        return record;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

bool ApplyStructureRecord(CUndoMngrEx &mngr, CUndoData &record, bool undoing, int32_t &layerIndex, SEdgeRect &rect)
{
    const StructureRule *rule = FindRule(record.kind);
    CLayerMngr *stack = mngr.LayerManager();
    if (!rule || !stack || (rule->layer == LayerAt::Paper && !mngr.Paper()))
        return false;
    rect = ToEdge(record.rect);
    StructureContext context{mngr, *stack, record, undoing, layerIndex, rect};
    return rule->apply(context);
}

} // namespace pv
