// Builds the product, towards-white and halved-difference tables once, on first use.
#include "raster/MixTables.h"

#include <array>

namespace pv {

namespace {

struct SMixTables {
    std::array<uint8_t, 65536> product;
    std::array<uint8_t, 65536> towardsWhite;
    std::array<int8_t, 65536> halfDifference;

    SMixTables()
    {
        for (int i = 0; i < 256; ++i) {
            for (int j = 0; j < 256; ++j) {
                product[i * 256 + j] = static_cast<uint8_t>(i * j / 255);
                towardsWhite[i * 256 + j] = static_cast<uint8_t>(255 - i * (255 - j) / 255);
            }
            for (int j = -128; j < 128; ++j)
                halfDifference[i * 256 + (j & 0xFF)] = static_cast<int8_t>(i * j * 2 / 255);
        }
    }
};

const SMixTables &Tables()
{
    static const SMixTables tables;
    return tables;
}

} // namespace

const uint8_t *ProductTable() { return Tables().product.data(); }
const uint8_t *TowardsWhiteTable() { return Tables().towardsWhite.data(); }
const int8_t *HalfDifferenceTable() { return Tables().halfDifference.data(); }

uint32_t TableMixColour(uint32_t colour, uint32_t pixel, uint32_t w)
{
    if (w == 0)
        return pixel;
    if (w >= 255)
        return (pixel & 0xFF000000u) | (colour & 0x00FFFFFFu);
    const uint32_t b = TableMix(colour & 0xFF, pixel & 0xFF, w);
    const uint32_t g = TableMix((colour >> 8) & 0xFF, (pixel >> 8) & 0xFF, w);
    const uint32_t r = TableMix((colour >> 16) & 0xFF, (pixel >> 16) & 0xFF, w);
    return (pixel & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

} // namespace pv
