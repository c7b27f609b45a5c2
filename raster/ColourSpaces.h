// Colour models of the colour windows, swatch files, the hue-lightness-saturation filter and
// the darken and lighten dabs. Channels are bytes; hue (degrees 0-360), saturation, value and
// lightness (on the scale 0-255) are 16.16 fixed-point numbers. Colours are 0x00RRGGBB
// pixel values (alpha 0 on output, ignored on input). Also the default palette.
#pragma once

#include <array>
#include <cstdint>

namespace pv {

struct SHsv {
    int32_t hue;
    int32_t saturation;
    int32_t value;
};

struct SHls {
    int32_t hue;
    int32_t lightness;
    int32_t saturation;
};

SHsv ColourToHsv(uint32_t colour);
uint32_t HsvToColour(const SHsv &hsv);
SHls ColourToHls(uint32_t colour);
uint32_t HlsToColour(const SHls &hls);
// Cyan, magenta, yellow and black bytes to a colour.
uint32_t CmykToColour(uint32_t c, uint32_t m, uint32_t y, uint32_t k);

// The palette window's first colours: entry 64 i + 8 j + k has blue i x 255 / 3, green
// j x 255 / 7, red k x 255 / 7.
const std::array<uint32_t, 256> &DefaultPalette();

} // namespace pv
