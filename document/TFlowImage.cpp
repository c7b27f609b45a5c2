// The work image: loading a layer, fitting the size, committing a rectangle.
#include "document/TFlowImage.h"

#include "document/CLayerMngr.h"

#include <algorithm>

namespace pv {

bool TFlowImage::Reload(const CLayerData &layer, int32_t layerIndex)
{
    const CBlockVMTC *image = layer.Image();
    if (!image)
        return false;
    const bool ok = image->DrawInto(colour, {0, 0});
    coverage.Fill(0);
    loadedLayer = ok ? layerIndex : -1;
    return ok;
}

bool TFlowImage::Prepare(const CLayerData &layer, int32_t layerIndex, bool force)
{
    const CBlockVMTC *image = layer.Image();
    if (!image)
        return false;
    offsetX = layer.offsetX;
    offsetY = layer.offsetY;
    paperWidth = layer.paperWidth;
    paperHeight = layer.paperHeight;
    if (colour.Width() < image->Width() || colour.Height() < image->Height() || !colour.IsValid()) {
        const int32_t w = std::max(image->Width(), colour.Width()), h = std::max(image->Height(), colour.Height());
        if (!colour.Resize(w, h) || !coverage.Resize(w, h)) {
            loadedLayer = -1;
            return false;
        }
        return Reload(layer, layerIndex);
    }
    if (force || loadedLayer != layerIndex)
        return Reload(layer, layerIndex);
    return false;
}

bool TFlowImage::Fit(const CLayerMngr &layers, bool exact)
{
    if (layers.Count() == 0)
        return false;
    int32_t w = 0, h = 0;
    for (int32_t i = 0; i < layers.Count(); ++i)
        if (const CBlockVMTC *image = layers.At(i)->Image()) {
            w = std::max(w, image->Width());
            h = std::max(h, image->Height());
        }
    if (!exact && colour.IsValid()) {
        w = std::max(w, colour.Width());
        h = std::max(h, colour.Height());
    }
    if (colour.IsValid() && w == colour.Width() && h == colour.Height())
        return false;
    loadedLayer = -1;
    if (!colour.Resize(w, h) || !coverage.Resize(w, h))
        return false;
    colour.Fill(0x00FFFFFF);
    coverage.Fill(0);
    offsetX = offsetY = 0;
    paperWidth = layers.PaperWidth();
    paperHeight = layers.PaperHeight();
    return true;
}

bool TFlowImage::CommitRect(CLayerData &layer, SExtent rect) const
{
    CBlockVMTC *image = layer.Image();
    return image && colour.IsValid() && image->WriteFrom(colour, {rect.x, rect.y}, 255, rect);
}

bool TFlowImage::ClearCoverage(SExtent rect) { return coverage.FillRect(rect, 0); }

} // namespace pv
