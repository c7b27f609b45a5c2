// The view samplers.
#include "raster/ViewSamplers.h"

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

uint32_t gBackdrop = 0x00808080;

int64_t ToFixed(double v) { return int64_t(std::nearbyint(v * 65536.0)); }

} // namespace

uint32_t BackdropColour() { return gBackdrop; }
void SetBackdropColour(uint32_t colour) { gBackdrop = colour; }

void RotatedNearestView(const TMTC &source, TMTC &dest, double offsetX, double offsetY, double scale, double angle)
{
    RotatedNearestView(source, dest, {0, 0, dest.Width(), dest.Height()}, offsetX, offsetY, scale, angle);
}

void RotatedNearestView(const TMTC &source, TMTC &dest, SExtent rect, double offsetX, double offsetY, double scale,
                        double angle)
{
    if (!dest.IsValid() || !ClipToImage(rect, dest.Width(), dest.Height()))
        return;
    const double c = std::cos(angle), s = std::sin(angle);
    const int64_t dx = int64_t(scale * c * 65536.0), dy = int64_t(scale * s * 65536.0);
    const uint64_t limitX = uint64_t(source.Width()) << 16, limitY = uint64_t(source.Height()) << 16;
    const uint32_t backdrop = BackdropColour();
    for (int32_t i = rect.y; i < rect.y + rect.height; ++i) {
        const double C = scale * (i - dest.Height() / 2), B = -scale * (dest.Width() / 2);
        int64_t x = int64_t((c * B - s * C + offsetX) * 65536.0) + dx * rect.x;
        int64_t y = int64_t((s * B + c * C + offsetY) * 65536.0) + dy * rect.x;
        uint32_t *row = dest.RowPixels(i);
        for (int32_t j = rect.x; j < rect.x + rect.width; ++j, x += dx, y += dy)
            row[j] = (uint64_t(x) < limitX && uint64_t(y) < limitY) ? source.At(int32_t(x >> 16), int32_t(y >> 16)) : backdrop;
    }
}

bool RotatedAreaView(TMTC &dest, const TMTC &source, CScaleImageTMTC &resampler, uint32_t backdrop, double zoom,
                     double angle, SExtent rect, double offsetX, double offsetY)
{
    if (!dest.IsValid() || zoom <= 0 || !ClipToImage(rect, dest.Width(), dest.Height()))
        return false;
    resampler.Bind(&source, &dest);
    const int64_t s = ToFixed(std::sin(angle)), c = ToFixed(std::cos(angle)), g = ToFixed(1.0 / zoom);
    const int64_t half = -(g / 2), ox = ToFixed(offsetX), oy = ToFixed(offsetY);
    const int64_t halfW = int64_t(dest.Width()) << 15, halfH = int64_t(dest.Height()) << 15;
    auto mul = [](int64_t a, int64_t b) { return (a * b) >> 16; };
    // A turned view row runs diagonally through the source, a new source row (and page) every
    // few pixels; small blocks of the view keep what they read close together. In each block
    // row the squares' corners come first, then the piece is sampled in one call.
    constexpr int32_t kBlockW = 32, kBlockH = 32;
    int64_t lefts[kBlockW], tops[kBlockW];
    for (int32_t by = rect.y; by < rect.y + rect.height; by += kBlockH)
        for (int32_t bx = rect.x; bx < rect.x + rect.width; bx += kBlockW) {
            const int32_t w = std::min(kBlockW, rect.x + rect.width - bx);
            for (int32_t y = by; y < std::min(by + kBlockH, rect.y + rect.height); ++y) {
                const int64_t B = mul((int64_t(y) << 16) + 0x8000 - halfH, g);
                for (int32_t i = 0; i < w; ++i) {
                    const int64_t A = mul((int64_t(bx + i) << 16) + 0x8000 - halfW, g);
                    lefts[i] = mul(A, c) - mul(B, s) + ox + half;
                    tops[i] = mul(A, s) + mul(B, c) + oy + half;
                }
                resampler.SampleSquares(dest.RowPixels(y) + bx, w, lefts, tops, g, backdrop);
            }
        }
    return true;
}

} // namespace pv
