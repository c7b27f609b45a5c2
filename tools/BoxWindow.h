// Box-window sums for the blur dabs: the (2h+1)^2 window around each pixel of a rectangle,
// read from a layer's stored pixels with coordinates clamped into the layer (edge pixels
// repeat). Column sums follow the rows down, so a further row costs one row of the window
// and a further pixel one subtraction; all sums are 64-bit, so no window size overflows.
#pragma once

#include "raster/CBlockVMTC.h"
#include "raster/ImageRect.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pv {

class BoxWindow {
public:
    using Sums = std::array<uint64_t, 4>; // alpha, red, green, blue

    // With premultiply, the colour sums are of c * a / 255; else of the plain channels.
    BoxWindow(const CBlockVMTC &source, SExtent rect, int32_t half, bool premultiply);
    // Makes row j current; rows must come in increasing order.
    void Row(int32_t j);
    // The window sums around (i, current row); i inside the rectangle.
    Sums At(int32_t i) const;
    uint64_t Count() const { return uint64_t(2 * half_ + 1) * uint64_t(2 * half_ + 1); }

private:
    void AddRow(int32_t regionRow, bool add);

    int32_t half_;
    int32_t left_, top_, width_, height_; // the region read: the rectangle grown by half
    std::vector<std::array<uint32_t, 4>> pixels_;
    std::vector<Sums> columns_;
    std::vector<Sums> prefix_;
    int32_t row_ = -1; // region row of the current row's centre; -1 none yet
};

} // namespace pv
