// The dab context of a renderer call and the stroke's start action.
#include "tools/EngineSetup.h"

#include "raster/SLayerParam.h"

namespace pv {

DabContext BeginRendering(TPaper &paper, TFlowImage &image, const TStroke &pen, StrokeTrack &track, bool legacy)
{
    const CLayerData *layer = paper.LayerAt(pen.layerIndex());
    DabContext dab{paper,
                   image,
                   pen,
                   track,
                   layer,
                   legacy,
                   pen.EffectiveDensity(legacy),
                   pen.EffectiveDensityByte(legacy),
                   paper.engineInt[0] != 0};
    if (track.startPending) {
        track.startPending = false;
        StrokeDabState &s = track.dab;
        s.neutralColour = layer ? LayerParam(layer->Mode()).fillColour : 0xFFFFFF;
        s.protectAlpha = layer ? layer->protectTransparency : pen.protectAlpha();
        const bool unshifted = legacy || track.startForm == StrokeStart::Older;
        const float dx = unshifted ? 0.0f : float(image.offsetX), dy = unshifted ? 0.0f : float(image.offsetY);
        if (image.colour.IsValid())
            StartDabs(dab, track.startX + dx, track.startY + dy);
    }
    return dab;
}

} // namespace pv
