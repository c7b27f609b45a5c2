// The two dab renderers the paper holds: the current engine, which steps each segment into
// dabs with pressure-driven radius and opacity, and the legacy engine that replays the oldest
// recordings. Both match the paper's renderer shape; each call draws the newest segment of
// the track, then composites the coverage channel of the pens that draw into it.
#pragma once

#include "document/TPaper.h"

namespace pv {

void CurrentEngine(TPaper &paper, TFlowImage &image, const TStroke &pen, StrokeTrack &track);
void LegacyEngine(TPaper &paper, TFlowImage &image, const TStroke &pen, StrokeTrack &track);

// A straight line of the legacy recordings, from (x0, y0) to (x1, y1) at full pressure, as one
// stroke with the legacy engine; rect is the committed rectangle.
bool LegacyStraightLine(TPaper &paper, TFlowImage &image, TStroke &pen, StrokeTrack &track, float x0, float y0,
                        float x1, float y1, SExtent &rect);

// The coverage channel over a rectangle of the work image made visible: the pencil's coverage
// painted in the pen colour over the layer's pixels, blur2's coverage as a blur of them.
void ComposeCoverage(TPaper &paper, TFlowImage &image, const TStroke &pen, SExtent rect);

} // namespace pv
