// TFlowImage: the work image of a canvas window — a plain copy of one layer's pixels and an
// 8-bit coverage channel, on which strokes, fills and filters are computed before the
// changed rectangle is copied into the layer once. It never shrinks while editing.
#pragma once

#include "raster/ImageRect.h"
#include "raster/TChannel.h"
#include "raster/TMTC.h"

namespace pv {

class CLayerData;
class CLayerMngr;

class TFlowImage {
public:
    TMTC colour;
    TChannel coverage;
    int32_t loadedLayer = -1; // the layer whose pixels the colour image holds; -1 none
    int32_t offsetX = 0, offsetY = 0;
    int32_t paperWidth = 0, paperHeight = 0;

    // Loads the layer when the image is too small for it, when force is set or when it holds
    // another layer; true when it reloaded. The layer's offset and the paper size are taken
    // in every case.
    bool Prepare(const CLayerData &layer, int32_t layerIndex, bool force);
    // The layer's pixels copied in again and the coverage cleared, whatever was loaded.
    bool Reload(const CLayerData &layer, int32_t layerIndex);
    // Sizes the image for the largest layer (never smaller than now unless exact); a
    // reallocated image is blank and holds no layer, so the next stroke reloads instead of
    // committing blank pixels. True when the size changed (never without layers).
    bool Fit(const CLayerMngr &layers, bool exact);
    // Copies a rectangle (layer image coordinates) into the layer at full opacity.
    bool CommitRect(CLayerData &layer, SExtent rect) const;
    bool ClearCoverage(SExtent rect);
};

} // namespace pv
