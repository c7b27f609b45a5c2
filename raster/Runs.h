// One-pixel-wide anti-aliased runs on an 8-bit channel, along a row or a column: the span
// from start to end is measured in 1/64 pixel, so the two end pixels get the share of their
// 64 sub-positions that lie strictly within half the length of the centre. A run only
// raises pixels (keep-the-larger) and is cut to the channel.
#pragma once

#include "raster/TChannel.h"

namespace pv {

// Raises the pixels of row `row` between x = start and x = end to trunc(value x opacity)
// times their covered share.
void RowRun(TChannel &channel, int32_t row, uint8_t value, double opacity, double start, double end);
// The same down column `column` between y = start and y = end.
void ColumnRun(TChannel &channel, int32_t column, uint8_t value, double opacity, double start, double end);

} // namespace pv
