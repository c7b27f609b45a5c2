// The vector row of the pencil's coverage compose for its usual case: one colour filling
// transparency. Exactly the bytes of transparent paint pixel by pixel.
#pragma once

#include <cstdint>

namespace pv {

// Paints pixels[0..count) from cover[0..count) with transparent paint of the colour at
// coverage cover × density / 255 (the exact byte quotient; 0 leaves the pixel). Works in
// groups of 8 and returns how many pixels it did (the rest, fewer than 8, are the caller's);
// 0 without AVX2.
int32_t PaintTransparentCoverage(uint32_t *pixels, const uint8_t *cover, int32_t count, uint32_t density, uint32_t colour);

} // namespace pv
