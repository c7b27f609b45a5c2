// Rectangles and points of the image operations: extent rectangles {x, y, width, height},
// edge rectangles {left, top, right, bottom} with right and bottom exclusive, and the two
// clipping rules every image operation uses (one image; a copy between two images).
#pragma once

#include <cstdint>

namespace pv {

struct SPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct SExtent {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct SEdgeRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

SEdgeRect ToEdge(const SExtent &r);
SExtent ToExtent(const SEdgeRect &r);

// Intersects a with b (a is changed); false when nothing is left.
bool IntersectEdge(SEdgeRect &a, const SEdgeRect &b);

// Clips r against an image of width x height; false when nothing is left.
bool ClipToImage(SExtent &r, int32_t width, int32_t height);

// Clips a copy of source rectangle r of a source image (sw x sh) to destination point p of a
// destination image (dw x dh); both are changed together so that they stay in step.
bool ClipCopy(SPoint &p, SExtent &r, int32_t sw, int32_t sh, int32_t dw, int32_t dh);

} // namespace pv
