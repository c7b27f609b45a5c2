// The transforms of a layer's pixels that are their own inverse — flips, the half turn, the
// colour negative and the alpha inversion — shared by the operations and their undo.
#pragma once

#include "document/UndoKinds.h"
#include "raster/ImageRect.h"

#include <memory>

namespace pv {

class CLayerData;

// Applies the transform of kind 7-11 (12-15 act like 7-10) to a rectangle of the layer's
// image. A flip of the whole image also mirrors the layer's offset inside the paper, so the
// visible window shows the mirrored picture. False for other kinds or a failed transform.
bool TransformLayerImage(CLayerData &layer, UndoKind kind, SExtent rect);

// The layer turned a quarter together with the canvas: its image turned whole, its paper
// window turned with it and the paper's sides swapped; same serial, attributes and pixels.
// Null when memory runs out.
std::unique_ptr<CLayerData> TurnLayerWithCanvas(const CLayerData &layer, bool clockwise);

// The single-layer kind a visible-layers kind repeats (12-15 → 7-10); other kinds unchanged.
UndoKind SingleLayerTransform(UndoKind kind);

} // namespace pv
