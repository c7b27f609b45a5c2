// Box-window sums over a layer's stored pixels.
#include "tools/BoxWindow.h"

#include "raster/PixelMath.h"

namespace pv {

BoxWindow::BoxWindow(const CBlockVMTC &source, SExtent rect, int32_t half, bool premultiply)
    : half_(half), left_(rect.x - half), top_(rect.y - half), width_(rect.width + 2 * half),
      height_(rect.height + 2 * half)
{
    pixels_.resize(size_t(width_) * size_t(height_));
    for (int32_t y = 0; y < height_; ++y)
        for (int32_t x = 0; x < width_; ++x) {
            const uint32_t p = source.ClampedPixel(left_ + x, top_ + y);
            const uint32_t a = AlphaOf(p);
            std::array<uint32_t, 4> &q = pixels_[size_t(y) * size_t(width_) + size_t(x)];
            if (premultiply)
                q = {a, mul255(RedOf(p), a), mul255(GreenOf(p), a), mul255(BlueOf(p), a)};
            else
                q = {a, RedOf(p), GreenOf(p), BlueOf(p)};
        }
    columns_.assign(size_t(width_), Sums{});
    prefix_.assign(size_t(width_) + 1, Sums{});
}

void BoxWindow::AddRow(int32_t regionRow, bool add)
{
    const std::array<uint32_t, 4> *row = &pixels_[size_t(regionRow) * size_t(width_)];
    for (int32_t x = 0; x < width_; ++x)
        for (int c = 0; c < 4; ++c)
            columns_[size_t(x)][size_t(c)] += add ? row[x][size_t(c)] : uint64_t(0) - row[x][size_t(c)];
}

void BoxWindow::Row(int32_t j)
{
    const int32_t centre = j - top_;
    if (row_ >= 0 && centre == row_ + 1) {
        AddRow(centre - half_ - 1, false);
        AddRow(centre + half_, true);
    } else {
        columns_.assign(size_t(width_), Sums{});
        for (int32_t r = centre - half_; r <= centre + half_; ++r)
            AddRow(r, true);
    }
    row_ = centre;
    for (int32_t x = 0; x < width_; ++x)
        for (int c = 0; c < 4; ++c)
            prefix_[size_t(x) + 1][size_t(c)] = prefix_[size_t(x)][size_t(c)] + columns_[size_t(x)][size_t(c)];
}

BoxWindow::Sums BoxWindow::At(int32_t i) const
{
    const size_t first = size_t(i - left_ - half_), last = size_t(i - left_ + half_ + 1);
    Sums s;
    for (int c = 0; c < 4; ++c)
        s[size_t(c)] = prefix_[last][size_t(c)] - prefix_[first][size_t(c)];
    return s;
}

} // namespace pv
