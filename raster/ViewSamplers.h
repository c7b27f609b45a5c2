// The samplers that build a rotated and scaled view of an image: nearest-neighbour (fast,
// used while the view moves) and area-averaged squares (smooth). Samples that fall outside
// the source take the backdrop colour.
#pragma once

#include "raster/CScaleImage.h"
#include "raster/TMTC.h"

#include <cstdint>

namespace pv {

// The process-wide colour of samples outside an image shown rotated or scaled; each canvas
// window sets it from its background colour.
uint32_t BackdropColour();
void SetBackdropColour(uint32_t colour);

// Destination pixel (j, i) takes source pixel ((x >> 16), (y >> 16)) of the rotated walk that
// starts at the destination centre mapped to (offsetX, offsetY) of the source, stepping
// scale · (cos, sin) per pixel.
void RotatedNearestView(const TMTC &source, TMTC &dest, double offsetX, double offsetY, double scale, double angle);
// The same for a sub-rectangle of the destination, whose centre is still the whole
// destination's; pixels outside the destination are skipped.
void RotatedNearestView(const TMTC &source, TMTC &dest, SExtent rect, double offsetX, double offsetY, double scale,
                        double angle);
// Each destination pixel of rect is the area average of the source square of side 1 / zoom
// around its rotated centre (16.16); false when rect misses the destination.
bool RotatedAreaView(TMTC &dest, const TMTC &source, CScaleImageTMTC &resampler, uint32_t backdrop, double zoom,
                     double angle, SExtent rect, double offsetX, double offsetY);

} // namespace pv
