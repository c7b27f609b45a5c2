// How the paper shows itself: the composite rebuilt in changed rectangles (with the live
// stroke and the grid), the view image for scaled and rotated views, thumbnails, the title.
#include "document/TPaper.h"

#include "raster/BoxReduce.h"
#include "raster/PaintRoutines.h"
#include "raster/StagedCompose.h"
#include "raster/ImageDrivers.h"
#include "raster/ViewSamplers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pv {
namespace {

SExtent Extent(const SEdgeRect &r) { return ToExtent(r); }

bool ClipToPaper(SEdgeRect &r, int32_t width, int32_t height) { return IntersectEdge(r, {0, 0, width, height}); }

// A paper rectangle on a thumbnail of tw x th for a paper of pw x ph, computed in floating
// point and clipped so it never reaches past the thumbnail.
SExtent ThumbnailPart(const SEdgeRect &r, int32_t tw, int32_t th, int32_t pw, int32_t ph)
{
    if (pw <= 0 || ph <= 0)
        return {};
    const double rx = double(tw) / pw, ry = double(th) / ph;
    SExtent part{int32_t(r.left * rx), int32_t(r.top * ry), int32_t((r.right - r.left) * rx) + 1,
                 int32_t((r.bottom - r.top) * ry) + 1};
    return ClipToImage(part, tw, th) ? part : SExtent{};
}

} // namespace

void TPaper::Recompose(SEdgeRect rect, bool withGrid)
{
    if (!ClipToPaper(rect, width_, height_) || !composite_.IsValid())
        return;
    ComposeThroughStage(composite_, Extent(rect), 0xFF000000 | paperColour_, [this](TMTC &stage, SExtent block) {
        for (int32_t i = 0; i < layers_->Count(); ++i) {
            const CLayerData &layer = *layers_->At(i);
            if (!layer.visible || layer.opacity == 0 || !layer.Image())
                continue;
            const SExtent source{block.x + layer.offsetX, block.y + layer.offsetY, block.width, block.height};
            if (!UsesCurrentEngine())
                layer.DrawWithOperator(stage, {0, 0}, source);
            else if (strokeImage_ && strokeImage_->loadedLayer == i)
                layer.ComposeIntoView(strokeImage_->colour, stage, {0, 0}, false, source); // the stroke not yet committed
            else
                layer.ComposeIntoView(stage, {0, 0}, false, source);
        }
    });
    if (withGrid && gridVisible)
        DrawGrid(rect);
}

void TPaper::DrawGrid(SEdgeRect rect)
{
    if (!ClipToPaper(rect, width_, height_))
        return;
    const auto first = [](int32_t from, int32_t spacing) { return (from + spacing - 1) / spacing * spacing; };
    for (int32_t x = first(rect.left, gridX); x < rect.right; x += gridX)
        ApplyWithOperator(composite_, {x, rect.top, 1, rect.bottom - rect.top}, PaintMultiply, 0xD0D0D0, 255);
    for (int32_t y = first(rect.top, gridY); y < rect.bottom; y += gridY)
        ApplyWithOperator(composite_, {rect.left, y, rect.right - rect.left, 1}, PaintMultiply, 0xD0D0D0, 255);
}

void TPaper::RecomposeAll(bool withGrid)
{
    Recompose({0, 0, width_, height_}, withGrid);
    host_.InvalidateAll();
}

void TPaper::RedrawGrid()
{
    DrawGrid({0, 0, width_, height_});
    host_.InvalidateAll();
}

void TPaper::SetGrid(bool visible, int32_t spacingX, bool redraw, int32_t spacingY)
{
    gridVisible = visible;
    gridX = std::max(spacingX, 2);
    gridY = std::max(spacingY, 2);
    if (redraw)
        RecomposeAll();
    host_.InvalidateAll();
}

void TPaper::ShowLayerRect(int32_t layer, SEdgeRect rect, bool withLayerThumbnail)
{
    if (!ClipToPaper(rect, width_, height_))
        return;
    Recompose(rect);
    host_.InvalidateRect(rect);
    UpdateThumbnails(!withLayerThumbnail, layer, rect);
}

void TPaper::ShowLayerTiles(int32_t layerIndex, const SEdgeRect *clip, bool updateThumbnails)
{
    CLayerData *layer = layers_->At(layerIndex);
    if (!layer || !layer->Image())
        return;
    CBlockVMTC &image = *layer->Image();
    for (int32_t tile : image.TakeChangedTiles()) {
        const SExtent t = image.TileRect(tile);
        SEdgeRect rect{t.x - layer->offsetX, t.y - layer->offsetY, t.x + t.width - layer->offsetX, t.y + t.height - layer->offsetY};
        if (!ClipToPaper(rect, width_, height_) || (clip && !IntersectEdge(rect, *clip)))
            continue;
        Recompose(rect);
        host_.InvalidateRect(rect);
        if (updateThumbnails)
            UpdateThumbnails(false, layerIndex, rect);
    }
}

void TPaper::UpdateThumbnails(bool onlyPaper, int32_t layerIndex, SEdgeRect rect)
{
    CLayerData *layer = layers_->At(layerIndex);
    if (!onlyPaper && layer && layer->Thumbnail().IsValid()) {
        const SExtent part = ThumbnailPart(rect, layer->Thumbnail().Width(), layer->Thumbnail().Height(), width_, height_);
        if (part.width > 0) {
            layer->UpdateThumbnail(part, rect);
            host_.RefreshLayerWindow();
        }
    }
    if (thumbnail_.IsValid()) {
        const SExtent part = ThumbnailPart(rect, thumbnail_.Width(), thumbnail_.Height(), composite_.Width(), composite_.Height());
        if (part.width > 0)
            ReduceBox(composite_, thumbnail_, part);
    }
}

void TPaper::RenderSquare(SEdgeRect square, int32_t clientW, int32_t clientH)
{
    int32_t cx = 0, cy = 0;
    view.ViewCentre(clientW, clientH, cx, cy);
    const double z = view.ZoomFactor();
    if (view.SmoothRenderingNeeded())
        RotatedAreaView(viewImage_, composite_, scaler_, BackdropColour(), z, view.Angle(), Extent(square), cx, cy);
    else
        RotatedNearestView(composite_, viewImage_, Extent(square), cx, cy, 1.0 / z, view.Angle());
}

bool TPaper::RefreshViewImage(int32_t clientW, int32_t clientH)
{
    if (view.IntegerBlitPossible() && !view.Rotated())
        return false;
    if ((viewImage_.Width() != clientW || viewImage_.Height() != clientH) && !viewImage_.Resize(clientW, clientH))
        return false;
    if (view.SmoothRenderingNeeded() && !view.Rotated()) {
        viewImage_.Fill(BackdropColour());
        int32_t x0 = 0, y0 = 0, x1 = width_, y1 = height_;
        view.PaperToWindowInt(clientW, clientH, x0, y0);
        view.PaperToWindowInt(clientW, clientH, x1, y1);
        scaler_.Resample({0, 0, width_, height_}, {x0, y0, x1 - x0, y1 - y0});
    } else {
        RenderSquare({0, 0, clientW, clientH}, clientW, clientH);
    }
    return true;
}

PaintJob TPaper::PaintRect(SEdgeRect rect, int32_t clientW, int32_t clientH)
{
    PaintJob job;
    if (!ClipToPaper(rect, width_, height_))
        return job;
    job.paper = rect;
    const float z = view.ZoomFactor();
    if (view.IntegerBlitPossible() && !view.Rotated()) {
        // Whole destination pixels: the left and top edges rounded down, the others up.
        const ZoomStep &s = PaperView::Step(view.ZoomStepIndex());
        const auto down = [&](int32_t p, int32_t origin, int32_t offset) {
            return offset + int32_t(std::floor(double(p - origin) * s.numerator / s.denominator));
        };
        const auto up = [&](int32_t p, int32_t origin, int32_t offset) {
            return offset + int32_t(std::ceil(double(p - origin) * s.numerator / s.denominator));
        };
        job.source = PaintJob::Source::Composite;
        job.window = {down(rect.left, view.originX, view.windowOffsetX), down(rect.top, view.originY, view.windowOffsetY),
                      up(rect.right, view.originX, view.windowOffsetX), up(rect.bottom, view.originY, view.windowOffsetY)};
        return job;
    }
    if ((viewImage_.Width() != clientW || viewImage_.Height() != clientH) && !RefreshViewImage(clientW, clientH))
        return job;
    const SEdgeRect client{0, 0, clientW, clientH};
    SEdgeRect window;
    if (!view.Rotated() && view.SmoothRenderingNeeded()) {
        if (z <= 1) {
            int32_t x0 = rect.left, y0 = rect.top, x1 = rect.right - 1, y1 = rect.bottom - 1;
            view.PaperToWindowInt(clientW, clientH, x0, y0);
            view.PaperToWindowInt(clientW, clientH, x1, y1);
            window = {x0, y0, x1 + 1, y1 + 1};
            if (!IntersectEdge(window, client))
                return job;
            scaler_.Resample(Extent(rect), {x0, y0, x1 + 1 - x0, y1 + 1 - y0});
        } else {
            // Small rectangles aligned outward to 8, larger ones in 32 x 32 blocks aligned to 32,
            // so every scaled render stays small.
            const bool small = rect.right - rect.left <= 64 && rect.bottom - rect.top <= 64;
            const int32_t a = small ? 8 : 32;
            const SEdgeRect aligned{rect.left / a * a, rect.top / a * a, (rect.right + a - 1) / a * a, (rect.bottom + a - 1) / a * a};
            const int32_t step = small ? std::max(aligned.right - aligned.left, aligned.bottom - aligned.top) : 32;
            window = {clientW, clientH, 0, 0};
            for (int32_t by = aligned.top; by < aligned.bottom; by += step)
                for (int32_t bx = aligned.left; bx < aligned.right; bx += step) {
                    SEdgeRect block{bx, by, std::min(bx + step, width_), std::min(by + step, height_)};
                    if (block.right <= block.left || block.bottom <= block.top)
                        continue;
                    int32_t x0 = block.left, y0 = block.top, x1 = block.right, y1 = block.bottom;
                    view.PaperToWindowInt(clientW, clientH, x0, y0);
                    view.PaperToWindowInt(clientW, clientH, x1, y1);
                    scaler_.Resample(Extent(block), {x0, y0, x1 - x0, y1 - y0});
                    window = {std::min(window.left, x0), std::min(window.top, y0), std::max(window.right, x1),
                              std::max(window.bottom, y1)};
                }
            if (!IntersectEdge(window, client))
                return job;
        }
    } else {
        float cx = float(rect.left + rect.right) / 2, cy = float(rect.top + rect.bottom) / 2;
        view.PaperToWindow(clientW, clientH, cx, cy);
        const int32_t d = int32_t(float(std::max(rect.right - rect.left, rect.bottom - rect.top)) * z * std::sqrt(2.0f) / 2) + 1;
        window = {int32_t(cx) - d, int32_t(cy) - d, int32_t(cx) + d, int32_t(cy) + d};
        if (!IntersectEdge(window, client))
            return job;
        RenderSquare(window, clientW, clientH);
    }
    job.source = PaintJob::Source::ViewImage;
    job.window = window;
    return job;
}

void TPaper::ShowChanges(int32_t clientW, int32_t clientH, bool reRender)
{
    if (reRender)
        RefreshViewImage(clientW, clientH);
    host_.InvalidateAll();
}

PaintJob TPaper::PaintWindow(int32_t clientW, int32_t clientH)
{
    if (view.IntegerBlitPossible() && !view.Rotated())
        return PaintRect({0, 0, width_, height_}, clientW, clientH);
    PaintJob job;
    if ((viewImage_.Width() == clientW && viewImage_.Height() == clientH) || RefreshViewImage(clientW, clientH)) {
        job.source = PaintJob::Source::ViewImage;
        job.paper = {0, 0, width_, height_};
        job.window = {0, 0, clientW, clientH};
    }
    return job;
}

std::string TPaper::Title() const
{
    char text[64];
    const std::string prefix = locked ? "<LOCKED>" : "";
    std::snprintf(text, sizeof text, " w%d x h%d : %d%%", width_, height_, int32_t(view.ZoomFactor() * 100));
    return prefix + " \"" + name + "\"" + text;
}

} // namespace pv
