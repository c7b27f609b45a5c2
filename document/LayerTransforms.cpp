// Self-inverse layer transforms.
#include "document/LayerTransforms.h"

#include "document/CLayerMngr.h"

#include <new>

namespace pv {

UndoKind SingleLayerTransform(UndoKind kind)
{
    switch (kind) {
    case UndoKind::FlipVisibleHorizontal: return UndoKind::FlipHorizontal;
    case UndoKind::FlipVisibleVertical: return UndoKind::FlipVertical;
    case UndoKind::NegativeVisible: return UndoKind::Negative;
    case UndoKind::HalfTurnVisible: return UndoKind::HalfTurn;
    default: return kind;
    }
}

bool TransformLayerImage(CLayerData &layer, UndoKind kind, SExtent rect)
{
    CBlockVMTC *image = layer.Image();
    if (!image || !ClipToImage(rect, image->Width(), image->Height()))
        return false;
    const bool whole = rect.x == 0 && rect.y == 0 && rect.width == image->Width() && rect.height == image->Height();
    bool mirrorX = false, mirrorY = false, ok = false;
    switch (SingleLayerTransform(kind)) {
    case UndoKind::FlipHorizontal:
        ok = image->FlipHorizontal(rect);
        mirrorX = true;
        break;
    case UndoKind::FlipVertical:
        ok = image->FlipVertical(rect);
        mirrorY = true;
        break;
    case UndoKind::HalfTurn:
        ok = image->Rotate180(rect);
        mirrorX = mirrorY = true;
        break;
    case UndoKind::Negative:
        ok = image->XorRect(rect, 0x00FFFFFF);
        break;
    case UndoKind::InvertAlpha:
        ok = image->XorRect(rect, 0xFF000000);
        break;
    default:
        return false;
    }
    if (ok && whole) {
        if (mirrorX)
            layer.offsetX = image->Width() - layer.paperWidth - layer.offsetX;
        if (mirrorY)
            layer.offsetY = image->Height() - layer.paperHeight - layer.offsetY;
    }
    return ok;
}

std::unique_ptr<CLayerData> TurnLayerWithCanvas(const CLayerData &layer, bool clockwise)
{
    const CBlockVMTC *image = layer.Image();
    if (!image)
        return nullptr;
    const int32_t iw = image->Width(), ih = image->Height();
    auto turned = std::unique_ptr<CLayerData>(new (std::nothrow) CLayerData(layer.index, layer.WithUndo()));
    if (!turned || !turned->CreateImage(ih, iw, layer.Mode()) || !image->Rotate90Into(*turned->Image(), {0, 0}, clockwise))
        return nullptr;
    turned->CopyAttributes(layer);
    turned->serial = layer.serial; // the history knows the layer by it
    // Clockwise, image pixel (x, y) goes to (ih - 1 - y, x); the other way to (y, iw - 1 - x).
    turned->offsetX = clockwise ? ih - layer.offsetY - layer.paperHeight : layer.offsetY;
    turned->offsetY = clockwise ? layer.offsetX : iw - layer.offsetX - layer.paperWidth;
    turned->paperWidth = layer.paperHeight;
    turned->paperHeight = layer.paperWidth;
    turned->FitThumbnail(CLayerMngr::kThumbnailBox, CLayerMngr::kThumbnailBox);
    turned->UpdateThumbnail();
    return turned;
}

} // namespace pv
