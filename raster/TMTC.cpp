// TMTC lifecycle, pixel access and fills.
#include "raster/TMTC.h"
#include "raster/CpuFeatures.h"
#include "raster/FillKernels.h"

#include "raster/MixTables.h"
#include "raster/PixelLoops.h"
#include "raster/PixelMath.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstring>

namespace pv {

TMTC::TMTC(int32_t width, int32_t height)
{
    Resize(width, height);
}

TMTC::TMTC(const uint32_t *pixels, int32_t width, int32_t height, ptrdiff_t strideBytes)
{
    if (Resize(width, height)) {
        CopyFromPixels({0, 0}, pixels, width, height, strideBytes, {0, 0, width, height});
        SetAlpha(255);
    }
}

TMTC::~TMTC()
{
    Clear();
}

bool TMTC::Resize(int32_t width, int32_t height)
{
    if (IsValid() && width == width_ && height == height_)
        return true;
    const int64_t bytes = CheckedImageBytes(width, height, 4);
    if (bytes < 0) {
        Clear();
        LogText("TMTC::Resize: refused size\n");
        return false;
    }
    // A block of the same byte size is taken over as it is (its contents reinterpreted).
    uint8_t *kept = nullptr;
    if (IsValid() && bytes > 0 && bytes == ByteSize()) {
        kept = pixels_;
        pixels_ = nullptr;
    }
    Clear();
    return bytes == 0 || Allocate(width, height, false, "TMTC::Resize: caught an exception!\n", kept);
}

int64_t TMTC::ByteSize() const
{
    return int64_t(width_) * height_ * 4;
}

uint32_t TMTC::ClampedAt(int32_t x, int32_t y) const
{
    return At(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1));
}

uint32_t TMTC::ClampedGreyAt(int32_t x, int32_t y) const
{
    return GreyOfColour(ClampedAt(x, y));
}

void TMTC::ClampedAccumulate(int32_t x, int32_t y, uint32_t &sumB, uint32_t &sumG, uint32_t &sumR) const
{
    const uint32_t c = ClampedAt(x, y);
    sumB += BlueOf(c);
    sumG += GreenOf(c);
    sumR += RedOf(c);
}

bool TMTC::SetWeighted(int32_t x, int32_t y, uint8_t weight, uint32_t colour)
{
    if (Contains(x, y))
        At(x, y) = ExactMixColour(colour, At(x, y), weight);
    return Contains(x, y);
}

bool TMTC::SetWeightedByTable(int32_t x, int32_t y, uint8_t weight, uint32_t colour)
{
    if (Contains(x, y))
        At(x, y) = TableMixColour(colour, At(x, y), weight);
    return Contains(x, y);
}

void TMTC::Fill(uint32_t value)
{
    FillRect({0, 0, width_, height_}, value);
}

bool TMTC::FillRect(SExtent rect, uint32_t value)
{
    if (!IsValid() || !ClipToImage(rect, width_, height_))
        return false;
    const bool vector = VectorKernelsAvailable();
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y) {
        if (vector)
            kernels::FillPixelsAvx2(RowPixels(y) + rect.x, rect.width, value);
        else
            std::fill_n(RowPixels(y) + rect.x, rect.width, value);
    }
    return true;
}

bool TMTC::MaskedFill(SExtent rect, uint32_t mask, uint32_t value)
{
    const uint32_t set = mask & value;
    return ForEachPixel<uint32_t>(*this, rect, [mask, set](uint32_t *p) { *p = set | (~mask & *p); });
}

bool TMTC::SetAlphaRect(SExtent rect, uint8_t alpha)
{
    return MaskedFill(rect, 0xFF000000u, uint32_t(alpha) << 24);
}

void TMTC::SetAlpha(uint8_t alpha)
{
    SetAlphaRect({0, 0, width_, height_}, alpha);
}

bool TMTC::BlendedFill(SExtent rect, uint32_t colour, uint8_t weight)
{
    return ForEachPixel<uint32_t>(*this, rect,
                                  [colour, weight](uint32_t *p) { *p = ExactMixColour(colour, *p, weight); });
}

bool TMTC::Apply(SExtent rect, ColourOp op, uint32_t colour, int parameter)
{
    return ForEachPixel<uint32_t>(*this, rect, [=](uint32_t *p) { op(p, colour, parameter); });
}

bool TMTC::XorRect(SExtent rect, uint32_t value)
{
    return ForEachPixel<uint32_t>(*this, rect, [value](uint32_t *p) { *p ^= value; });
}

bool TMTC::CopyFromPixels(SPoint point, const uint32_t *pixels, int32_t width, int32_t height,
                          ptrdiff_t strideBytes, SExtent rect)
{
    if (!IsValid() || pixels == nullptr || width < 0 || height < 0 ||
        strideBytes < ptrdiff_t(width) * 4 ||
        !ClipCopy(point, rect, width, height, width_, height_))
        return false;
    const auto *bytes = reinterpret_cast<const uint8_t *>(pixels);
    for (int32_t j = 0; j < rect.height; ++j)
        std::memcpy(RowPixels(point.y + j) + point.x,
                    bytes + ptrdiff_t(rect.y + j) * strideBytes + ptrdiff_t(rect.x) * 4,
                    size_t(rect.width) * 4);
    return true;
}

} // namespace pv
