// Self-inverse layer transforms.
#include "document/LayerTransforms.h"

#include "document/CLayerData.h"

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

} // namespace pv
