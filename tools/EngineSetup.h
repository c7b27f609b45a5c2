// What both dab renderers do before stepping: the dab context of the call and, on the first
// call of a stroke, the target layer's neutral colour and protection and the kind's start action.
#pragma once

#include "tools/Dabs.h"

namespace pv {

// The legacy engine's start position, and the older start form's, is not moved by the layer offset.
DabContext BeginRendering(TPaper &paper, TFlowImage &image, const TStroke &pen, StrokeTrack &track, bool legacy);

} // namespace pv
