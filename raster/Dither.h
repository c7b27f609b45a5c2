// Dithered composing: a layer pixel is composed only where a random draw falls below the
// dither amount scaled by the pixel's alpha, so a layer thins out into scattered pixels.
//
// The draw for a pixel is a function of the layer's generator record and the pixel's
// position in the layer alone, never of how many pixels were drawn before it: a partial
// recompose of a rectangle then gives exactly the pixels of a full one.
//
// The active state (compose routine, record, amount, position) is process-wide; composing
// runs on one thread.
#pragma once

#include "raster/PaintRoutines.h"
#include "raster/SRandomRecord.h"

namespace pv {

void InstallDither(ComposeRoutine compose, const SRandomRecord &record, uint8_t amount);
// A record seeded from the millisecond clock with bounds 0 and 255.
SRandomRecord FreshDitherRecord();
// The position (layer coordinates) of the next pixel DitherCompose sees.
void SetDitherPosition(int32_t x, int32_t y);

// The draw of the record for position (x, y).
uint32_t DitherDrawAt(const SRandomRecord &record, int32_t x, int32_t y);

// Composes through the active compose routine where the draw allows it. DrawWithOperator
// sets the position of every pixel it passes to this routine.
void DitherCompose(uint32_t *pixel, uint32_t source, int opacity);

// Composes the source rectangle onto dest at point with dithering; the positions are the
// source's coordinates.
bool ComposeDithered(const TMTC &source, TMTC &dest, SPoint point, int opacity, SExtent rect);

} // namespace pv
