// Anti-aliased discs: on an 8-bit channel with 5 x 5 sub-samples per pixel (the plain disc
// through the channel writer, the soft disc that keeps the larger value), on a colour image
// with 4 x 4 sub-samples (by the table mix or through the colour writer), and a grid of
// channel discs (screen-tone dots).
//
// Pixels are classified by their four corners, so inside pixels take no sub-sampling and
// pixels with every corner outside are skipped; only channel discs of radius 3 or less
// sub-sample every pixel of their box (a corner test would lose their thin edges). Sub-samples
// sit at the top-left corner and the k - 1 positions after it, 1/k pixel apart; distances are
// measured from the centre truncated to that grid. Everything runs in integers after set-up.
// Discs are cut to the image: nothing is visited outside it.
#pragma once

#include "raster/TChannel.h"
#include "raster/TMTC.h"

namespace pv {

// Value a at opacity b (0-1) through the channel writer: inside pixels with weight
// trunc(255 b), edge pixels with that weight times the covered fraction. With keepLarger
// the pixel is instead raised (never lowered) to trunc(a b) times the covered fraction.
void ChannelDisc(TChannel &channel, uint8_t value, bool keepLarger, double opacity, double radius, double x,
                 double y);

// Raises pixels to trunc(a b) times the covered fraction, and with soft also times a
// falloff from 255 at the centre to 0 at the rim.
void SoftChannelDisc(TChannel &channel, uint8_t value, bool soft, double opacity, double radius, double x,
                     double y);

// The colour mixed in with weight trunc(255 b) times the covered fraction (and, for soft
// discs of radius 3 or more, a falloff towards the rim): by the table mix, or through the
// colour writer. A disc that holds no pixel corner draws nothing.
void ColourDisc(TMTC &image, uint32_t colour, bool soft, double opacity, double radius, double x, double y);
void ColourDiscThroughWriter(TMTC &image, uint32_t colour, bool soft, double opacity, double radius, double x,
                             double y);

// Channel discs of value 255 at full opacity (not keeping the larger) at (xStart + h xStep,
// yStart + k yStep), h, k = 0, 1, ..., while x <= clamp(xLimit, 2, width) and
// y <= clamp(yLimit, 2, height). A step below 1/64 pixel (0 and negative steps included)
// draws nothing.
void DiscGrid(TChannel &channel, double radius, double xStep, double yStep, double xLimit, double yLimit,
              double xStart, double yStart);

} // namespace pv
