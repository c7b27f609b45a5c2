// TPaper: one open picture — the layer stack, the masks, the undo history and the images that
// show it — and the operations every change goes through. Operations with the record flag
// set (the user did it) also keep the history; without it they only change the picture.
//
// The display images join the paper in their own step; until then the paper repaints
// through its host.
#pragma once

#include "document/CLayerMngr.h"
#include "document/CUndoMngrEx.h"
#include "document/PaperHost.h"
#include "document/PaperView.h"
#include "document/TFlowImage.h"
#include "document/UndoPaper.h"
#include "events/CEventMngr.h"
#include "raster/CScaleImage.h"
#include "raster/TTC.h"
#include "selection/CMaskMngr.h"
#include "selection/TSelectMng.h"
#include "tools/CGradation.h"
#include "tools/StrokeTrack.h"
#include "tools/TStroke.h"

#include <memory>
#include <string>

namespace pv {

// Which dab renderer draws strokes: the current one, or the one that replays the oldest
// event files (no undo while it is in use).
enum class DabEngine { Current, Legacy };

// What the window copies to show a paper rectangle: from the composite (whole-pixel
// stretching, done by the window) or from the view image, which the paper has just rendered.
struct PaintJob {
    enum class Source { Nothing, Composite, ViewImage } source = Source::Nothing;
    SEdgeRect paper;  // the clipped paper rectangle (composite source)
    SEdgeRect window; // where it lands in the window
};

class TPaper;
// Turns the newest segment of the track into dabs on the work image and its coverage.
using DabRenderer = void (*)(TPaper &paper, TFlowImage &image, const TStroke &pen, StrokeTrack &track);

class TPaper : public UndoPaper {
public:
    static constexpr const char *kEventFixed = "ｲﾍﾞﾝﾄ状態の問題を修正しました!";
    static constexpr const char *kEventProblem = "ｲﾍﾞﾝﾄ記録に問題が検出されました!";
    static constexpr const char *kUndoCountFailed = "ｱﾝﾄﾞｩ回数の変更に失敗しました!";

    static constexpr const char *kUndoEventFailed = "failed to undo event!";
    static constexpr const char *kRedoEventFailed = "failed to redo event!";

    // Null when a part of the paper cannot be made: a paper never runs without its masks or
    // its recorder. The pen is the application's; the recorder reads it for pen state.
    static std::unique_ptr<TPaper> CreatePaper(PaperHost &host, int32_t undoCount, const TStroke &pen,
                                               events::RecorderOptions recorder = {});
    ~TPaper() override;
    TPaper(const TPaper &) = delete;
    TPaper &operator=(const TPaper &) = delete;

    std::string name;
    int32_t resolution = 0;
    bool eventDataInvalid = false;
    bool locked = false;
    bool initialised = false;
    bool gridVisible = false;
    int32_t gridX = 25, gridY = 25;
    CGradation gradation;

    // A new empty picture: one cleared layer, named and active, loaded into the work image.
    bool InitPaper(const std::string &paperName, TFlowImage &image, int32_t dpi, int32_t layerWidth, int32_t layerHeight,
                   int32_t paperWidth, int32_t paperHeight);
    // The legacy selection slots for width x height, then a new picture of that size.
    bool InitPaperWithSelection(const std::string &paperName, TFlowImage &image, int32_t width, int32_t height);
    TSelectMng *Selection() const { return selection_.get(); }
    // The paper size, given to the layers, the masks, the composite and the work image.
    bool SetPaperSize(TFlowImage *image, int32_t width, int32_t height);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    CLayerMngr &Layers() const { return *layers_; }
    int32_t LayerCount() const { return layers_->Count(); }
    int32_t LastLayerIndex() const { return layers_->LastIndex(); }
    int32_t ActiveLayerIndex() const { return layers_->Active(); }
    CLayerData *LayerAt(int32_t i) const { return layers_->At(i); }
    CLayerData *ActiveLayer() const { return layers_->At(layers_->Active()); }
    bool SelectLayer(TFlowImage &image, int32_t index);
    bool PrepareWorkImage(TFlowImage &image, int32_t index, bool force);
    bool FitWorkImage(TFlowImage &image, bool exact) { return image.Fit(*layers_, exact); }
    const TTC &Composite() const { return composite_; }

    // ---- display
    PaperView view;
    // The composite rebuilt in a paper rectangle: paper colour, visible layers, the live
    // stroke of the work image, the grid.
    void Recompose(SEdgeRect rect, bool withGrid = true);
    void RecomposeAll(bool withGrid = true);
    void RedrawGrid();
    void SetGrid(bool visible, int32_t spacingX, bool redraw, int32_t spacingY);
    // Recompose and repaint a paper rectangle for a layer's change, with the paper's thumbnail
    // and (unless asked not to) the layer's.
    void ShowLayerRect(int32_t layer, SEdgeRect rect, bool withLayerThumbnail = true);
    // The same for every tile of the layer changed since it was last shown.
    void ShowLayerTiles(int32_t layer, const SEdgeRect *clip, bool updateThumbnails);
    void UpdateThumbnails(bool onlyPaper, int32_t layer, SEdgeRect rect);
    // What to copy to show a paper rectangle in a client area of that size; the view image
    // is rendered first where the view needs it.
    PaintJob PaintRect(SEdgeRect rect, int32_t clientW, int32_t clientH);
    // Renders the whole view image when the view uses it; false when it does not.
    bool RefreshViewImage(int32_t clientW, int32_t clientH);
    // After a change of zoom, angle, centre or window size: the view image made again when
    // asked, then the whole window repainted.
    void ShowChanges(int32_t clientW, int32_t clientH, bool reRender);
    // What a full repaint copies: the whole composite, or the whole view image.
    PaintJob PaintWindow(int32_t clientW, int32_t clientH);
    const TTC &ViewImage() const { return viewImage_; }
    TMTC &PaperThumbnail() { return thumbnail_; }
    std::string Title() const;

    void SetModified(bool modified) { host_.SetModified(modified); }
    void SetPaperColour(uint32_t colour, bool record);

    // Undo and redo of the newest record; layerIndex is the layer to act on and then the one
    // the record concerned, rect the changed rectangle.
    bool Undo(TFlowImage &image, int32_t &layerIndex, SEdgeRect &rect);
    bool Redo(TFlowImage &image, int32_t &layerIndex, SEdgeRect &rect);
    bool CanUndo(int32_t layerIndex) const;
    bool CanRedo(int32_t layerIndex) const;
    bool UndoEnabled() const { return undo_ && undo_->Enabled(); }
    events::CEventMngr &Events() const { return *events_; }
    bool Recording() const { return events_->IsRecording() && events_->HasData(); }
    CUndoMngrEx *UndoManager() const { return undo_.get(); }
    bool ClearUndo();
    // After an operation that could not keep a record: every history goes.
    void ForgetHistory();
    bool PushRegionUndo(int32_t layerIndex, SExtent rect, UndoKind kind);
    bool SetUndoCount(int32_t undoCount);
    int32_t UndoCount() const { return undoCount_; }
    int64_t UndoMemory() const;
    // Everything the picture holds in memory: paper-size images, layers, masks, history.
    int64_t MemoryEstimate(int64_t &layerBytes, int64_t &undoBytes) const;

    // A stroke on the active layer, in paper coordinates. Between begin and end only the work
    // image changes; the end commits the stroke's rectangle into the layer (with record, after
    // pushing the layer's pixels from before the stroke) and returns it in layer coordinates.
    bool BeginStroke(TFlowImage &image, TStroke &pen, StrokeTrack &track, float x, float y, float pressure, bool record,
                     StrokeStart form = StrokeStart::Current);
    void AddStrokePoint(TFlowImage &image, const TStroke &pen, StrokeTrack &track, float x, float y, float pressure,
                        bool record);
    bool EndStroke(TFlowImage &image, const TStroke &pen, const StrokeTrack &track, SExtent &rect, bool record);

    bool UsesCurrentEngine() const { return engine_ == DabEngine::Current; }
    // Leaving the current engine ends the paper's own history.
    void SetDabEngine(DabEngine engine, DabRenderer renderer);
    DabRenderer Renderer() const { return renderer_; }
    // After a replay with the legacy engine: a fresh history and fully opaque layers.
    void RestoreCurrentEngine(TFlowImage &image);

    // The undo manager's view of the paper.
    uint32_t PaperColour() const override { return paperColour_; }
    void SetPaperColour(uint32_t colour) override;
    CMaskMngr &Masks() override { return *masks_; }
    uint8_t SelectionFlags() const override;
    void SetSelectionFlags(uint8_t flags) override;
    std::unique_ptr<CLayerMngr> ExchangeLayerStack(std::unique_ptr<CLayerMngr> stack) override;
    std::unique_ptr<CMaskMngr> ExchangeMasks(std::unique_ptr<CMaskMngr> masks) override;
    bool RotateCanvas(bool clockwise) override;
    void MasksChanged() override { host_.RefreshSelectionWindow(); }

    bool selectionVisible = false;
    bool selectionEnabled = false;
    // Scratch values the dab renderer keeps between segments: the major-axis flag of the
    // last segment, the last step position (-1 at a stroke start) and two floats.
    int32_t engineInt[2] = {0, -1};
    float engineFloat[2] = {0, 0};

private:
    // What the recorder reads of the paper.
    class RecorderView : public events::RecorderSources {
    public:
        explicit RecorderView(const TPaper &paper) : paper_(paper) {}
        uint32_t PaperColour() const override { return paper_.PaperColour(); }
        uint16_t ActiveLayerIndex() const override { return uint16_t(paper_.ActiveLayerIndex()); }
        uint16_t ActiveSelectionIndex() const override { return uint16_t(paper_.masks_->CurrentIndex()); }
        bool SelectionEnabled() const override { return paper_.selectionEnabled; }
        events::GradationPointsRecord GradationPoints() const override;
        events::GradationFormRecord GradationForm() const override;
        events::GradationRamp CurrentGradationRamp() const override;
        // The tone list joins with the screen tones.
        std::optional<events::TonePatternSource> CurrentTonePattern() const override { return std::nullopt; }

    private:
        const TPaper &paper_;
    };

    TPaper(PaperHost &host, int32_t undoCount, events::RecorderOptions recorder);
    // Keeps the recorder's step ring in line with a push: a new record drops what could have
    // been redone, a failed push took the whole history with it.
    bool Pushed(bool ok);
    bool Step(TFlowImage &image, bool undoing, int32_t &layerIndex, SEdgeRect &rect);
    void RefreshAfterStep(TFlowImage &image, UndoKind kind, int32_t layerIndex, SEdgeRect rect);
    void DrawGrid(SEdgeRect rect);
    void RenderSquare(SEdgeRect square, int32_t clientW, int32_t clientH);
    void ClipMasksToPaper();

    PaperHost &host_;
    DabEngine engine_ = DabEngine::Current;
    DabRenderer renderer_;
    uint32_t paperColour_ = 0xFFFFFF;
    int32_t width_ = 0, height_ = 0;
    int32_t undoCount_;
    TTC composite_;
    TTC viewImage_;
    TMTC thumbnail_;
    CScaleImageTMTC scaler_{&composite_, &viewImage_};
    const TFlowImage *strokeImage_ = nullptr; // the work image while a stroke is drawn
    std::unique_ptr<CLayerMngr> layers_;
    std::unique_ptr<CMaskMngr> masks_;
    std::unique_ptr<CUndoMngrEx> undo_;
    std::unique_ptr<TSelectMng> selection_;
    RecorderView recorderView_{*this};
    std::unique_ptr<events::CEventMngr> events_;
};

} // namespace pv
