// The dab of each pen kind: one stamp at a centre (work-image coordinates), opacity 0..1 and
// radius, drawn into the work image or its coverage channel through the pixel pipeline; the
// kinds' start actions; the legacy dabs.
#pragma once

#include "document/TPaper.h"
#include "raster/TChannel.h"
#include "tools/StrokeTrack.h"
#include "tools/TStroke.h"

namespace pv {

struct DabContext {
    TPaper &paper;
    TFlowImage &image;
    const TStroke &pen;
    StrokeTrack &track;
    const CLayerData *layer; // the target layer, whose stored pixels the blur reads
    bool legacy;             // drawn by the legacy engine
    float density;           // effective density
    uint8_t densityByte;
    bool xMajor;             // the current segment runs along x
};

using DabHandler = void (*)(DabContext &dab, float x, float y, float opacity, float radius);

void PencilDab(DabContext &dab, float x, float y, float opacity, float radius);
void WatercolourDab(DabContext &dab, float x, float y, float opacity, float radius);
void BlurDab(DabContext &dab, float x, float y, float opacity, float radius);
void EraserDab(DabContext &dab, float x, float y, float opacity, float radius);
void AirbrushDab(DabContext &dab, float x, float y, float opacity, float radius);
void FingerTipDab(DabContext &dab, float x, float y, float opacity, float radius);
// Darken and lighten: the airbrush's profile through the exposure curve of the stroke.
void ExposureDab(DabContext &dab, float x, float y, float opacity, float radius);

// Span rasterisers into a channel through the channel writer: rows of half-width
// sqrt(r^2 - dy^2) (horizontal) or the same with rows and columns exchanged (vertical).
void HorizontalSpans(TChannel &channel, float x, float y, float radius, float opacity);
void VerticalSpans(TChannel &channel, float x, float y, float radius, float opacity);

// The kind's start action at the start position (work-image coordinates).
void StartDabs(DabContext &dab, float x, float y);
// The mean colour of the 11 x 11 block around (trunc x, trunc y), clamped into the image.
uint32_t AreaAverage(const TMTC &image, int32_t x, int32_t y);
// A finger-tip copy of the canvas around (x, y) for that radius, edges repeated.
void TakeTipCopy(const TMTC &image, CPenTC &tip, float x, float y, float radius);
// The watercolour's colour at a dab: the start colour towards the pen colour by the distance
// travelled (in diameters of speedRadius), the surrounding colour followed from four samples
// `ahead` below and right of the centre and `behind` above and left of it, then mixed in.
uint32_t WatercolourColour(DabContext &dab, float x, float y, float ahead, float behind, float speedRadius);
// The legacy dab of kinds 0..4 at the step position with the step's pressure.
void LegacyDab(DabContext &dab, float x, float y, float pressure);

} // namespace pv
