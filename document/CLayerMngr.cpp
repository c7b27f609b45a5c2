// The layer stack.
#include "document/CLayerMngr.h"

#include "document/CUndoMngrEx.h"
#include "platform/Messages.h"
#include "raster/MergePairs.h"
#include "raster/SLayerParam.h"

#include <algorithm>
#include <new>

namespace pv {
namespace {

constexpr char kBadIndex[] = "不正なﾚｲﾔｲﾝﾃﾞｯｸｽです!";
constexpr char kUndoFailed[] = "ｱﾝﾄﾞｩに失敗しました!\rすべてのｱﾝﾄﾞｩはｸﾘｱされます!";

} // namespace

CLayerMngr::CLayerMngr()
{
    layers_.reserve(24);
}

void CLayerMngr::SetPaperSize(int32_t width, int32_t height)
{
    paperWidth_ = width;
    paperHeight_ = height;
}

std::string CLayerMngr::DefaultName(int32_t n) const
{
    return "ﾚｲﾔ" + std::to_string(nameCounter_ + n);
}

void CLayerMngr::NameFromCounter(int32_t index, int32_t step)
{
    nameCounter_ += step;
    if (CLayerData *layer = At(index))
        layer->name = DefaultName(0);
}

void CLayerMngr::CopyName(int32_t to, int32_t from)
{
    if (IsValidIndex(to) && IsValidIndex(from))
        layers_[size_t(to)]->name = layers_[size_t(from)]->name;
}

int32_t CLayerMngr::SetActive(int32_t i)
{
    if (IsValidIndex(i))
        active_ = i;
    return active_;
}

void CLayerMngr::Renumber()
{
    for (size_t i = 0; i < layers_.size(); ++i)
        layers_[i]->index = int32_t(i);
}

void CLayerMngr::ClampActive()
{
    if (active_ >= Count())
        active_ = Count() - 1;
}

int32_t CLayerMngr::AddLayer(int32_t index, int32_t width, int32_t height, int mode, bool withUndo, uint8_t opacity,
                             bool visible)
{
    if (index < 0) {
        Messages().Warning(kBadIndex);
        return -1;
    }
    try {
        auto layer = std::make_unique<CLayerData>(index, withUndo);
        if (!layer->CreateImage(width, height, mode, kThumbnailBox, kThumbnailBox)) {
            Messages().Warning("ﾚｲﾔの初期化に失敗しました!");
            return -1;
        }
        layer->opacity = opacity;
        layer->visible = visible;
        layer->paperWidth = paperWidth_;
        layer->paperHeight = paperHeight_;
        const int32_t at = IsValidIndex(index) ? index : Count();
        layers_.insert(layers_.begin() + at, std::move(layer));
        if (active_ < 0)
            active_ = 0;
        Renumber();
        return at;
    } catch (const std::bad_alloc &) {
        Messages().Warning("ﾚｲﾔの追加に失敗しました!");
        return -1;
    }
}

int32_t CLayerMngr::AppendLayer(int32_t width, int32_t height, int mode, bool withUndo, uint8_t opacity, bool visible)
{
    return AddLayer(Count(), width, height, mode, withUndo, opacity, visible);
}

int32_t CLayerMngr::InsertExisting(int32_t index, std::unique_ptr<CLayerData> layer)
{
    if (index < 0 || !layer) {
        Messages().Warning(kBadIndex);
        return -1;
    }
    const int32_t at = IsValidIndex(index) ? index : Count();
    layers_.insert(layers_.begin() + at, std::move(layer));
    ClampActive();
    Renumber();
    return at;
}

std::unique_ptr<CLayerData> CLayerMngr::Replace(int32_t index, std::unique_ptr<CLayerData> layer)
{
    if (!IsValidIndex(index) || !layer)
        return layer;
    std::swap(layers_[size_t(index)], layer);
    Renumber();
    return layer;
}

std::unique_ptr<CLayerData> CLayerMngr::Detach(int32_t index)
{
    if (!IsValidIndex(index))
        return nullptr;
    auto layer = std::move(layers_[size_t(index)]);
    layers_.erase(layers_.begin() + index);
    ClampActive();
    Renumber();
    return layer;
}

void CLayerMngr::Delete(int32_t index)
{
    Detach(index);
}

void CLayerMngr::DeleteAll()
{
    layers_.clear();
    ClampActive();
}

int32_t CLayerMngr::Move(int32_t to, int32_t from)
{
    if (to == from || !IsValidIndex(from))
        return -1;
    to = std::clamp(to, 0, Count() - 1);
    auto layer = std::move(layers_[size_t(from)]);
    layers_.erase(layers_.begin() + from);
    layers_.insert(layers_.begin() + to, std::move(layer));
    Renumber();
    return to;
}

void CLayerMngr::SwapWith(int32_t index, CLayerMngr &other, int32_t otherIndex, bool renumberOther)
{
    if (!IsValidIndex(index) || !other.IsValidIndex(otherIndex))
        return;
    std::swap(layers_[size_t(index)], other.layers_[size_t(otherIndex)]);
    Renumber();
    if (renumberOther)
        other.Renumber();
}

bool CLayerMngr::CopyLayerContent(int32_t to, int32_t from)
{
    return IsValidIndex(to) && IsValidIndex(from) && layers_[size_t(to)]->CopyFrom(*layers_[size_t(from)]);
}

void CLayerMngr::FitThumbnail(int32_t index, int32_t width, int32_t height)
{
    if (CLayerData *layer = At(index))
        layer->FitThumbnail(width, height);
}

int32_t CLayerMngr::VisibleCount() const
{
    return int32_t(std::count_if(layers_.begin(), layers_.end(), [](const auto &l) { return l->visible; }));
}

int32_t CLayerMngr::FirstVisible() const
{
    for (int32_t i = 0; i < Count(); ++i)
        if (layers_[size_t(i)]->visible)
            return i;
    return -1;
}

std::vector<uint8_t> CLayerMngr::VisibilitySnapshot() const
{
    std::vector<uint8_t> snapshot;
    for (const auto &layer : layers_)
        snapshot.push_back(layer->visible ? 1 : 0);
    return snapshot;
}

void CLayerMngr::ToggleAll()
{
    for (const auto &layer : layers_)
        layer->SetVisible(!layer->visible);
}

void CLayerMngr::SetAll(bool visible)
{
    for (const auto &layer : layers_)
        layer->SetVisible(visible);
}

bool CLayerMngr::ShowOnly(int32_t index)
{
    if (!IsValidIndex(index))
        return false;
    for (int32_t i = 0; i < Count(); ++i)
        layers_[size_t(i)]->SetVisible(i == index);
    return true;
}

CLayerData *CLayerMngr::LayerOfSerial(int32_t serial, int32_t *index) const
{
    for (int32_t i = 0; i < Count(); ++i)
        if (layers_[size_t(i)]->serial == serial) {
            if (index)
                *index = i;
            return layers_[size_t(i)].get();
        }
    if (index)
        *index = -1;
    return nullptr;
}

int32_t CLayerMngr::IndexOfSerial(int32_t serial) const
{
    int32_t index = -1;
    LayerOfSerial(serial, &index);
    return index;
}

int32_t CLayerMngr::SerialAt(int32_t index) const
{
    const CLayerData *layer = At(index);
    return layer ? layer->serial : -1;
}

void CLayerMngr::DropUndoHistories()
{
    for (const auto &layer : layers_)
        layer->DropUndo();
}

bool CLayerMngr::Step(CUndoMngrEx &undo, bool undoing, int32_t &layerIndex, UndoKind &kind, SEdgeRect &rect)
{
    const CUndoData *record = undoing ? undo.PeekUndo() : undo.PeekRedo();
    if (!record)
        return false;
    kind = record->kind;
    int32_t index = -1;
    CLayerData *layer = record->layerSerial >= 0 ? LayerOfSerial(record->layerSerial, &index) : nullptr;
    bool ok;
    if (!layer && record->layerSerial >= 0 && record->type != UndoType::Structure) {
        // The layer it belongs to is gone: the record can never apply again.
        undoing ? undo.DropUndo() : undo.DropRedo();
        ok = false;
    } else {
        layerIndex = layer ? index : layerIndex;
        ok = undoing ? undo.Undo(layerIndex, layer, rect) : undo.Redo(layerIndex, layer, rect);
    }
    if (!ok && undoing) {
        Messages().Warning(kUndoFailed);
        undo.ClearAll();
    } else if (!ok) {
        undo.ClearRedoList(); // what was left to redo builds on the step that failed
    }
    return ok;
}

bool CLayerMngr::UndoStep(CUndoMngrEx &undo, int32_t &layerIndex, UndoKind &kind, SEdgeRect &rect)
{
    return Step(undo, true, layerIndex, kind, rect);
}

bool CLayerMngr::RedoStep(CUndoMngrEx &undo, int32_t &layerIndex, UndoKind &kind, SEdgeRect &rect)
{
    return Step(undo, false, layerIndex, kind, rect);
}

int64_t CLayerMngr::UndoMemory() const
{
    int64_t sum = 0;
    for (const auto &layer : layers_)
        sum += layer->UndoMemory();
    return sum;
}

int64_t CLayerMngr::MemoryUse() const
{
    int64_t sum = 0;
    for (const auto &layer : layers_)
        sum += layer->MemoryUse();
    return sum;
}

// Merge of upper layer b into lower layer a:
// 1. the merged image covers the union U of both image rectangles on the paper;
// 2. a resized copy of the lower layer holds the lower pixels at their place in U;
// 3. the upper image is merged in at its place — variant 0 with the upper mode's merge
//    routine, variants 1-3 with a pair routine where the pair table has the two modes, else
//    with the generic two-mode merge; the lower opacity is folded into the lower pixels;
// 4. only when all of that succeeded does the copy (opacity 255, lower serial and name,
//    compacted, thumbnail updated) replace the lower layer.
bool CLayerMngr::Merge(int32_t a, int32_t b, bool keepOld, int variant, std::unique_ptr<CLayerData> *oldLower)
{
    if (variant < 0 || variant > 3 || !IsValidIndex(a) || !IsValidIndex(b) || !At(a)->Image() || !At(b)->Image())
        return false;
    const CLayerData &lower = *At(a), &upper = *At(b);
    const SEdgeRect l = lower.ImageRectOnPaper(), u = upper.ImageRectOnPaper();
    const SEdgeRect all{std::min(l.left, u.left), std::min(l.top, u.top), std::max(l.right, u.right),
                        std::max(l.bottom, u.bottom)};
    std::unique_ptr<CLayerData> merged =
        lower.ResizedCopy(all.right - all.left, all.bottom - all.top, {l.left - all.left, l.top - all.top});
    if (!merged) {
        Messages().Warning("ﾚｲﾔのｻｲｽﾞ変更失敗により、ﾚｲﾔ結合ができませんでした！");
        return false;
    }
    merged->FitThumbnail(kThumbnailBox, kThumbnailBox);
    merged->serial = lower.serial;
    merged->name = lower.name;
    CBlockVMTC &image = *merged->Image();
    const CBlockVMTC &top = *upper.Image();
    const SPoint at{u.left - all.left, u.top - all.top};
    const SExtent whole{0, 0, top.Width(), top.Height()};
    const MergeRoutine routine = variant == 0 ? LayerParam(upper.Mode()).merge : FindMergePair(variant, lower.Mode(), upper.Mode());
    bool ok;
    if (routine) {
        ok = image.Merge(top, at, routine, upper.opacity, lower.opacity, whole);
    } else {
        ok = image.GenericMerge(top, at, TwoModeMergeParam(lower.Mode(), upper.Mode()), upper.opacity, lower.opacity, whole);
        if (LayerParam(lower.Mode()).flags & kModeInvertsAfterMerge)
            image.XorRect({0, 0, image.Width(), image.Height()}, 0x00FFFFFFu);
    }
    if (!ok)
        return false;
    merged->opacity = 255;
    merged->visible = true;
    merged->protectTransparency = false;
    merged->dither = false;
    image.Compact();
    merged->UpdateThumbnail();
    std::unique_ptr<CLayerData> old = Replace(a, std::move(merged));
    if (keepOld && oldLower)
        *oldLower = std::move(old);
    Renumber();
    return true;
}

} // namespace pv
