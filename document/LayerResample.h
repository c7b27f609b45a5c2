// Layer resampling operations: zoom, rotation by an angle or a quarter turn, fitting the
// image to its content, cutting or keeping by a mask, and the whole-stack operations that
// build a resized or zoomed copy of a layer stack. Layer-producing operations return null
// when a layer or its image cannot be made; nothing partly built is left behind.
#pragma once

#include "document/CLayerMngr.h"

#include <memory>

namespace pv {

class CMaskData;

struct PaperSize {
    int32_t width = 0, height = 0;
};

// The layer's image resampled to width x height, placed so the paper keeps its position.
std::unique_ptr<CLayerData> ZoomLayer(PaperSize paper, const CLayerData &layer, int32_t width, int32_t height);
// Rotated about the paper centre, bilinearly sampled, on an image grown to hold it.
std::unique_ptr<CLayerData> RotateLayer(PaperSize paper, const CLayerData &layer, double degrees);
// A quarter turn, pixels copied exactly.
std::unique_ptr<CLayerData> RotateLayer90(PaperSize paper, const CLayerData &layer, bool clockwise);
// The image cut to its visible tiles grown to include the paper; null when the layer needs no
// change (the caller keeps it).
std::unique_ptr<CLayerData> FitLayerToContent(PaperSize paper, CLayerData &layer);
// Alpha reduced where the mask selects (formula 0 or 1); false for another formula.
bool CutByMask(CLayerData &layer, const CMaskData &mask, int formula);
// Alpha multiplied by the mask and cleared outside it.
bool KeepByMask(CLayerData &layer, const CMaskData &mask);

std::unique_ptr<CLayerMngr> MakeResizedLayersWithOffset(const CLayerMngr &layers, SPoint offset, PaperSize size,
                                                        bool copyAttributes);
std::unique_ptr<CLayerMngr> MakeResizedLayers(const CLayerMngr &layers, SExtent rect, PaperSize size);
// kind 1 or 2 (anything else: null); method 1 the 16-sample reduction, 2 the area resampler.
std::unique_ptr<CLayerMngr> MakeZoomedLayers(const CLayerMngr &layers, PaperSize size, int kind, int method);

} // namespace pv
