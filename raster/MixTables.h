// The three 64 K tables built once per process: the product table T[i][j] = i * j / 255, the
// towards-white table U[i][j] = 255 - i * (255 - j) / 255, and the halved-difference table H
// of the table mix, H[w][j] = trunc(w * j * 2 / 255) for signed differences j; each is indexed
// i * 256 + j (for H, j AND 255).
#pragma once

#include <cstdint>

namespace pv {

const uint8_t *ProductTable();
const uint8_t *TowardsWhiteTable();
const int8_t *HalfDifferenceTable();

// Table mix of byte v into byte p with weight w: halving keeps the difference in a signed
// byte, so the result may be one or two away from the exact mix.
inline uint8_t TableMix(uint32_t v, uint32_t p, uint32_t w)
{
    if (w == 0)
        return static_cast<uint8_t>(p);
    if (w >= 255)
        return static_cast<uint8_t>(v);
    const int8_t delta = HalfDifferenceTable()[w * 256 + (((v >> 1) - (p >> 1)) & 0xFF)];
    return static_cast<uint8_t>((p + delta) & 0xFF);
}

// The table mix of a colour's blue, green and red; alpha of the pixel kept.
uint32_t TableMixColour(uint32_t colour, uint32_t pixel, uint32_t w);

} // namespace pv
