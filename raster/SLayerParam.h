// The table of layer blend modes: one row per mode code 0-21 with its name, colours, flags,
// routines and its place in mode lists and menus. Every use of a mode reads this table.
#pragma once

#include "raster/ComposeRows.h"
#include "raster/MergeRoutines.h"

namespace pv {

constexpr int kLayerModeCount = 22;
constexpr int kNormalMode = 3;
constexpr int kModeMenuFirstId = 1200;

// Flags of a mode (bits 1, 2 and 4 are carried for the files but not read).
constexpr uint32_t kModeInvertsAfterMerge = 0x01;
constexpr uint32_t kModeHasNeutralColour = 0x20;

struct SLayerParam {
    int code;
    const char *name;
    // The colour (alpha 0) of a new layer of the mode and of its unallocated tiles.
    uint32_t fillColour;
    // The start colour of the generic merge.
    uint32_t baseColour;
    uint32_t flags;
    ComposeRoutine compose;
    PaintRoutine paint;
    MergeRoutine merge;
    // The compose routine applied to a whole row, and to a rectangle (same bytes, faster).
    ComposeRowRoutine composeRow;
    ComposeRectRoutine composeRect;
    // Position in mode lists and menus (menu command = kModeMenuFirstId + position), and
    // whether a menu puts a separator before it.
    int displayPosition;
    bool separatorBefore;
};

// The row of a mode; an out-of-range code gives the normal mode's row.
const SLayerParam &LayerParam(int code);
// The row whose compose routine is compose, or null.
const SLayerParam *LayerParamOfCompose(ComposeRoutine compose);
// Mode lists: an out-of-range position gives the normal mode, an out-of-range code position 0.
int ModeAtPosition(int position);
int PositionOfMode(int code);

// The per-mode merge of the modes without a merge of their own: the generic merge with the
// mode's base colour, flags 0, the normal paint below and the mode's paint above.
template <int Code>
void GenericModeMerge(uint32_t *pixel, uint32_t source, int opacity)
{
    const SLayerParam &row = LayerParam(Code);
    GenericMerge(pixel, source, opacity, SMergeParam{row.baseColour, 0, PaintNormal, row.paint});
}

} // namespace pv
