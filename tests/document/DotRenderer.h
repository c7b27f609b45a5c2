// Stands in for the dab engine in the paper tests: one opaque pixel of the pen's colour at
// the segment's end, in the work image's colour and coverage.
#pragma once

#include "document/TPaper.h"

namespace pv::test {

inline void DotRenderer(TPaper &, TFlowImage &image, const TStroke &pen, StrokeTrack &track)
{
    const int32_t x = int32_t(track.history[1].x) + image.offsetX, y = int32_t(track.history[1].y) + image.offsetY;
    image.colour.At(x, y) = 0xFF000000 | pen.color();
    image.coverage.At(x, y) = 255;
}

} // namespace pv::test
