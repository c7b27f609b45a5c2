// Merge routines: lay one layer pixel (source, with alpha) onto another layer pixel with the
// upper layer's opacity; colour and alpha of the lower pixel both change. With sA the source
// alpha, o the opacity and dA the lower alpha, a' = mul255(sA, o) is the upper coverage and
// A = dA + a' - mul255(dA, a') the merged alpha; colours are weighted by coverage and divided
// by A (integer division, clamped).
//
// An upper pixel that covers nothing (a' = 0) leaves the lower pixel exactly as it was in
// every routine: the coverage-weighted formulas would otherwise pull a semi-transparent
// lower pixel towards the mode's base colour.
#pragma once

#include "raster/PaintRoutines.h"

namespace pv {

using MergeRoutine = ColourOp;

// The parameter block of the generic merge: the work pixel starts at base (or at the source
// when flags bit 3 is set), takes the lower pixel with the lower routine and its alpha, then
// the upper pixel with the upper routine and a'.
struct SMergeParam {
    uint32_t base = 0;
    uint32_t flags = 0;
    PaintRoutine lower = PaintNormal;
    PaintRoutine upper = PaintNormal;
};

constexpr uint32_t kMergeStartsFromSource = 0x08;

void NormalMerge(uint32_t *pixel, uint32_t source, int opacity);
void MultiplyMerge(uint32_t *pixel, uint32_t source, int opacity);
void AdditiveMerge(uint32_t *pixel, uint32_t source, int opacity);
void ScreenMerge(uint32_t *pixel, uint32_t source, int opacity);
void DifferenceMerge(uint32_t *pixel, uint32_t source, int opacity);
void DarkenMerge(uint32_t *pixel, uint32_t source, int opacity);
void LightenMerge(uint32_t *pixel, uint32_t source, int opacity);
void GenericMerge(uint32_t *pixel, uint32_t source, int opacity, const SMergeParam &param);

} // namespace pv
