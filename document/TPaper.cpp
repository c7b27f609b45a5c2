// The paper: construction, setting up a new picture, the paper size, the active layer and
// its work image, the history entry points and the refresh after an undo or redo.
#include "document/TPaper.h"

#include "document/LayerTransforms.h"
#include "events/RecordClock.h"
#include "platform/Messages.h"
#include "tools/DabEngines.h"
#include "raster/SLayerParam.h"

#include <algorithm>
#include <new>
#include <vector>

namespace pv {

TPaper::TPaper(PaperHost &host, int32_t undoCount, events::RecorderOptions recorder)
    : host_(host), renderer_(CurrentEngine), undoCount_(undoCount), layers_(std::make_unique<CLayerMngr>()), masks_(std::make_unique<CMaskMngr>(0, 0)),
      undo_(std::make_unique<CUndoMngrEx>()), events_(std::make_unique<events::CEventMngr>(recorderView_, recorder))
{
    composite_.Resize(1, 1);
    undo_->Create(this, CUndoMngrEx::kSlack, undoCount, undoCount, layers_.get());
    layers_->DropUndoHistories();
}

TPaper::~TPaper() = default;

std::unique_ptr<TPaper> TPaper::CreatePaper(PaperHost &host, int32_t undoCount, const TStroke &pen,
                                            events::RecorderOptions recorder)
{
    try {
        auto paper = std::unique_ptr<TPaper>(new TPaper(host, undoCount, recorder));
        if (!paper->events_->StartRecording(pen, events::CEventMngr::RingSizeFor(undoCount)))
            return nullptr;
        return paper;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

events::GradationPointsRecord TPaper::RecorderView::GradationPoints() const
{
    const CGradation &g = paper_.gradation;
    return {{g.startX16, g.startY16}, {g.endX16, g.endY16}};
}

events::GradationFormRecord TPaper::RecorderView::GradationForm() const
{
    const CGradation &g = paper_.gradation;
    events::GradationFormRecord form;
    form.shape = g.shape;
    form.mirror = g.mirror;
    form.wrap = g.wrap;
    form.repeat = uint16_t(std::min(g.repeat, 65535));
    return form;
}

events::GradationRamp TPaper::RecorderView::CurrentGradationRamp() const { return {GradationForm(), paper_.gradation.stops}; }

bool TPaper::Pushed(bool ok)
{
    if (!Recording())
        return ok;
    if (ok)
        events_->DiscardRedo();
    else if (!undo_ || (!undo_->CanUndo() && !undo_->CanRedo()))
        events_->ClearUndo();
    return ok;
}

bool TPaper::SetPaperSize(TFlowImage *image, int32_t width, int32_t height)
{
    width_ = width;
    height_ = height;
    layers_->SetPaperSize(width, height);
    masks_->SetPaperSize(width, height);
    if (selection_)
        selection_->Resize(width, height);
    host_.RefreshSelectionWindow();
    if (image)
        FitWorkImage(*image, false);
    const bool ok = composite_.Resize(std::max(width, 1), std::max(height, 1));
    host_.UpdateScrollRanges();
    return ok;
}

bool TPaper::InitPaper(const std::string &paperName, TFlowImage &image, int32_t dpi, int32_t layerWidth, int32_t layerHeight,
                       int32_t paperWidth, int32_t paperHeight)
{
    WaitCursor wait(host_);
    name = paperName;
    resolution = dpi;
    if (!SetPaperSize(&image, paperWidth, paperHeight))
        return false;
    const bool current = UsesCurrentEngine();
    const int mode = current ? kNormalMode : 0;
    if (layers_->AddLayer(0, current ? layerWidth : paperWidth, current ? layerHeight : paperHeight, mode, !current, 255, true) != 0)
        return false;
    layers_->NameFromCounter(0, 1);
    // Cleared: the mode's new-layer colour, transparent with the current engine.
    const uint32_t fill = LayerParam(mode).fillColour & 0x00FFFFFF;
    layers_->At(0)->Image()->SetEveryTile(current ? fill : fill | 0xFF000000);
    if (!SelectLayer(image, 0))
        return false;
    gradation.SetGeometryPixels(0, 0, float(paperWidth), 0);
    events_->RecordNewPaper({paperWidth, paperHeight, dpi, layerHeight, layerWidth});
    events_->RecordSessionStart(events::CurrentUtcTime());
    initialised = true;
    RecomposeAll();
    return true;
}

bool TPaper::InitPaperWithSelection(const std::string &paperName, TFlowImage &image, int32_t width, int32_t height)
{
    selection_ = TSelectMng::Create(width, height);
    return selection_ && InitPaper(paperName, image, 0, width, height, width, height);
}

bool TPaper::PrepareWorkImage(TFlowImage &image, int32_t index, bool force)
{
    const CLayerData *layer = layers_->At(index);
    return layer && image.Prepare(*layer, index, force);
}

bool TPaper::SelectLayer(TFlowImage &image, int32_t index)
{
    CLayerData *layer = layers_->At(index);
    if (!layer)
        return false;
    layers_->SetActive(index);
    host_.RefreshLayerWindow();
    host_.RefreshSelectionWindow();
    // Afterwards the work image always holds the active layer.
    if (!PrepareWorkImage(image, index, false))
        image.Reload(*layer, index);
    return image.loadedLayer == index;
}

void TPaper::SetPaperColour(uint32_t colour, bool record)
{
    if (record) {
        events_->RecordDocumentCommand<events::PacketId::SetPaperColor>({colour & 0x00FFFFFF});
        if (undo_)
            Pushed(undo_->PushAttributeRecord(nullptr, UndoKind::PaperColour));
    }
    SetPaperColour(colour);
    if (record)
        SetModified(true);
}

void TPaper::SetPaperColour(uint32_t colour)
{
    paperColour_ = colour & 0x00FFFFFF;
    RecomposeAll();
}

bool TPaper::CanUndo(int32_t layerIndex) const
{
    if (undo_)
        return undo_->CanUndo();
    const CLayerData *layer = layers_->At(layerIndex);
    return layer && layer->CanUndo();
}

bool TPaper::CanRedo(int32_t layerIndex) const
{
    if (undo_)
        return undo_->CanRedo();
    const CLayerData *layer = layers_->At(layerIndex);
    return layer && layer->CanRedo();
}

bool TPaper::Undo(TFlowImage &image, int32_t &layerIndex, SEdgeRect &rect) { return Step(image, true, layerIndex, rect); }
bool TPaper::Redo(TFlowImage &image, int32_t &layerIndex, SEdgeRect &rect) { return Step(image, false, layerIndex, rect); }

bool TPaper::Step(TFlowImage &image, bool undoing, int32_t &layerIndex, SEdgeRect &rect)
{
    if (!(undoing ? CanUndo(layerIndex) : CanRedo(layerIndex)))
        return false;
    WaitCursor wait(host_);
    if (!undo_) {
        // The legacy engine: the layer's own history, region records only.
        CLayerData &layer = *layers_->At(layerIndex);
        SExtent restored;
        const bool ok = undoing ? layer.Undo()->UndoRegion(*layer.Image(), restored) : layer.Undo()->RedoRegion(*layer.Image(), restored);
        rect = ToEdge(restored);
        if (ok)
            RefreshAfterStep(image, UndoKind::LayerOwnRegion, layerIndex, rect);
        return ok;
    }
    const bool recording = Recording();
    if (recording && undoing)
        events_->CheckBeforeUndo(size_t(undo_->UndoCount()), [this] {
            undo_->Trim();
            return size_t(undo_->UndoCount());
        });
    else if (recording)
        events_->CheckBeforeRedo(size_t(undo_->RedoCount()));
    UndoKind kind{};
    const bool ok = undoing ? layers_->UndoStep(*undo_, layerIndex, kind, rect) : layers_->RedoStep(*undo_, layerIndex, kind, rect);
    if (!ok) {
        if (recording && !undo_->CanUndo() && !undo_->CanRedo())
            events_->ClearUndo(); // the history went with the failed record
        return false;
    }
    // The pixels are restored whatever the recorder says, so the refresh always runs.
    const bool stepped = !recording || (undoing ? events_->UndoStep() : events_->RedoStep());
    if (!stepped)
        Messages().Warning(undoing ? kUndoEventFailed : kRedoEventFailed);
    layerIndex = std::clamp(layerIndex, 0, std::max(0, LastLayerIndex()));
    RefreshAfterStep(image, kind, layerIndex, rect);
    return stepped;
}

void TPaper::ClipMasksToPaper()
{
    for (int32_t i = 0; i < masks_->Count(); ++i)
        masks_->CropToPaper(i);
}

void TPaper::RefreshAfterStep(TFlowImage &image, UndoKind kind, int32_t layerIndex, SEdgeRect rect)
{
    uint16_t flags = UndoFlagsOf(int(kind));
    if (flags & UndoFlag::WholeCanvas) {
        FitWorkImage(image, false);
        PrepareWorkImage(image, layerIndex, true);
        RecomposeAll();
        if (flags & UndoFlag::CanvasSizeChanged)
            host_.UpdateScrollRanges();
        host_.RefreshLayerWindow();
        host_.RefreshSelectionWindow();
        host_.RefreshPreviewWindow();
        host_.UpdateTitle();
        if (flags & UndoFlag::ClipMasksToPaper) {
            host_.InvalidateAll();
            ClipMasksToPaper();
        }
        return;
    }
    if (layerIndex != ActiveLayerIndex() && !(flags & UndoFlag::KeepActiveLayer))
        SelectLayer(image, layerIndex);
    CLayerData *active = ActiveLayer();
    if ((flags & UndoFlag::RefreshActiveImage) && active && active->Image())
        rect = {0, 0, active->Image()->Width(), active->Image()->Height()};
    if (active && layerIndex == ActiveLayerIndex() && !(flags & UndoFlag::KeepWorkImage)) {
        const SExtent changed = ToExtent(rect);
        active->Image()->DrawInto(image.colour, {changed.x, changed.y}, 255, false, changed);
        image.coverage.Fill(0);
    }
    if (flags & UndoFlag::MasksChanged) {
        if (flags & UndoFlag::ClipMasksToPaper)
            ClipMasksToPaper();
        if (flags & UndoFlag::RefreshLayerWindow)
            flags &= uint16_t(~UndoFlag::MasksChanged);
        else
            host_.InvalidateAll();
        host_.RefreshSelectionWindow();
    }
    if (!(flags & UndoFlag::MasksChanged)) {
        const CLayerData *layer = layers_->At(layerIndex);
        if (!(flags & UndoFlag::NoPixelRefresh) && layer) {
            if (flags & UndoFlag::RefreshChangedTiles)
                ShowLayerTiles(layerIndex, nullptr, true);
            else
                ShowLayerRect(layerIndex, {rect.left - layer->offsetX, rect.top - layer->offsetY, rect.right - layer->offsetX,
                                           rect.bottom - layer->offsetY});
        }
        if (flags & UndoFlag::LayerListChanged)
            flags |= UndoFlag::RefreshLayerWindow;
    }
    if (flags & UndoFlag::RefreshLayerWindow)
        host_.RefreshLayerWindow();
}

bool TPaper::ClearUndo()
{
    if (undo_)
        undo_->ClearAll();
    if (events_->IsRecording())
        events_->ClearUndo();
    return true;
}

void TPaper::ForgetHistory()
{
    for (int32_t i = 0; i < layers_->Count(); ++i)
        if (CUndoMngr *own = layers_->At(i)->Undo())
            own->ClearAll();
    ClearUndo();
}

bool TPaper::PushRegionUndo(int32_t layerIndex, SExtent rect, UndoKind kind)
{
    CLayerData *layer = layers_->At(layerIndex);
    if (!layer || !layer->Image())
        return false;
    if (undo_)
        return Pushed(undo_->PushRegionRecord(*layer, rect, kind));
    return layer->Undo() && layer->Undo()->PushRegion(layerIndex, *layer, kind, rect, *layer->Image());
}

bool TPaper::SetUndoCount(int32_t undoCount)
{
    if (!undo_)
        return false;
    if (!events_->ResizeRing(undoCount)) {
        Messages().Warning(kUndoCountFailed);
        return false;
    }
    undoCount_ = undoCount;
    undo_->SetCounts(undoCount, undoCount);
    return true;
}

int64_t TPaper::UndoMemory() const { return undo_ ? undo_->MemoryUsed() : layers_->UndoMemory(); }

int64_t TPaper::MemoryEstimate(int64_t &layerBytes, int64_t &undoBytes) const
{
    layerBytes = layers_->MemoryUse();
    undoBytes = UndoMemory();
    return int64_t(width_) * height_ * 9 + layerBytes + composite_.ByteSize() + masks_->MemoryUse() + undoBytes;
}

namespace {

// Pressure is a fraction of the full press; anything else (a confused tablet driver, a damaged
// recording) would size dabs without bound.
float UsablePressure(float pressure) { return pressure > 0 ? std::min(pressure, 1.0f) : 0.0f; }

} // namespace

bool TPaper::BeginStroke(TFlowImage &image, TStroke &pen, StrokeTrack &track, float x, float y, float pressure, bool record,
                         StrokeStart form)
{
    pressure = UsablePressure(pressure);
    const int32_t layer = ActiveLayerIndex();
    if (!LayerAt(layer))
        return false;
    // The recorder writes the pen's target layer into the stroke's begin packet.
    pen.SetLayerIndex(layer);
    if (record)
        events_->BeginStroke(x, y, pressure);
    PrepareWorkImage(image, layer, false);
    track.Start(x, y, form);
    engineInt[0] = 0;
    engineInt[1] = -1;
    engineFloat[0] = engineFloat[1] = 0;
    host_.SetStrokeInProgress(true);
    host_.SetPointCounter(0);
    strokeImage_ = &image;
    return true;
}

void TPaper::AddStrokePoint(TFlowImage &image, const TStroke &pen, StrokeTrack &track, float x, float y, float pressure,
                            bool record)
{
    pressure = UsablePressure(pressure);
    if (record)
        events_->AddStrokeSample(x, y, pressure);
    host_.SetPointCounter(host_.PointCounter() + 1);
    track.AddSample(x, y, pressure, pen.noSmoothing());
    track.changed.reset();
    if (renderer_)
        renderer_(*this, image, pen, track);
    track.MarkSegment(pen.maxRadius());
    // The layer itself changes only when the stroke ends, and its thumbnail with it.
    const SExtent changed = track.changed.value_or(track.SegmentExtent());
    if (changed.width > 0 && changed.height > 0)
        ShowLayerRect(pen.layerIndex(), ToEdge(changed), false);
}

bool TPaper::EndStroke(TFlowImage &image, const TStroke &pen, const StrokeTrack &track, SExtent &rect, bool record)
{
    struct StrokeOver {
        TPaper &paper;
        ~StrokeOver()
        {
            paper.strokeImage_ = nullptr;
            paper.host_.SetStrokeInProgress(false);
        }
    } over{*this};
    CLayerData *layer = LayerAt(pen.layerIndex());
    if (!layer)
        return false;
    rect = {};
    if (!track.StrokeEmpty()) {
        rect = track.StrokeExtent();
        rect.x += layer->offsetX;
        rect.y += layer->offsetY;
    }
    if (record) {
        events_->EndStroke(); // closes the step before the undo record, which the step matches
        PushRegionUndo(pen.layerIndex(), rect, UndoKind::Stroke); // the layer still holds the pixels from before
    }
    // Committed with or without a record: the work image holds the only copy of the stroke.
    const bool committed = rect.width <= 0 || image.CommitRect(*layer, rect);
    if (PenKindOf(pen.kind()).drawsCoverage)
        image.ClearCoverage(rect);
    if (!track.StrokeEmpty())
        UpdateThumbnails(false, pen.layerIndex(), ToEdge(track.StrokeExtent()));
    return committed;
}

void TPaper::SetDabEngine(DabEngine engine, DabRenderer renderer)
{
    engine_ = engine;
    renderer_ = renderer;
    if (engine != DabEngine::Current)
        undo_.reset();
}

void TPaper::RestoreCurrentEngine(TFlowImage &image)
{
    engine_ = DabEngine::Current;
    selection_.reset();
    undo_ = std::make_unique<CUndoMngrEx>();
    undo_->Create(this, CUndoMngrEx::kSlack, undoCount_, undoCount_, layers_.get());
    layers_->DropUndoHistories();
    for (int32_t i = 0; i < layers_->Count(); ++i)
        layers_->At(i)->SetAlphaOfWholeImage(255);
    if (image.colour.IsValid())
        image.colour.SetAlpha(255);
}

uint8_t TPaper::SelectionFlags() const
{
    return uint8_t((selectionVisible ? kSelectionVisible : 0) | (selectionEnabled ? kSelectionEnabled : 0));
}

void TPaper::SetSelectionFlags(uint8_t flags)
{
    selectionVisible = (flags & kSelectionVisible) != 0;
    selectionEnabled = (flags & kSelectionEnabled) != 0;
    host_.InvalidateAll();
}

std::unique_ptr<CLayerMngr> TPaper::ExchangeLayerStack(std::unique_ptr<CLayerMngr> stack)
{
    if (!stack)
        return stack;
    std::swap(layers_, stack);
    if (undo_)
        undo_->ReplaceLayerManager(layers_.get());
    SetPaperSize(nullptr, layers_->PaperWidth(), layers_->PaperHeight());
    return stack;
}

std::unique_ptr<CMaskMngr> TPaper::ExchangeMasks(std::unique_ptr<CMaskMngr> masks)
{
    if (masks)
        std::swap(masks_, masks);
    return masks;
}

bool TPaper::RotateCanvas(bool clockwise)
{
    // Every layer is turned before any is replaced, so a failure changes nothing.
    std::vector<std::unique_ptr<CLayerData>> turned;
    for (int32_t i = 0; i < layers_->Count(); ++i) {
        auto layer = TurnLayerWithCanvas(*layers_->At(i), clockwise);
        if (!layer)
            return false;
        turned.push_back(std::move(layer));
    }
    for (int32_t i = 0; i < layers_->Count(); ++i)
        layers_->Replace(i, std::move(turned[size_t(i)]));
    SetPaperSize(nullptr, height_, width_);
    return true;
}

} // namespace pv
