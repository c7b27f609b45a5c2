// TMTC: a 32-bit colour image (0xAARRGGBB pixels, straight alpha) in one top-down heap block
// of width x height x 4 bytes. The base of the bottom-up TTC and the tile view TVMTC, so the
// colour operations here serve all three.
#pragma once

#include "raster/CDibCore.h"
#include "raster/ImageRect.h"

namespace pv {

// The shape of every per-pixel colour routine: paint (colour, weight), compose and merge
// (source pixel, opacity), drawing operators (value, parameter).
using ColourOp = void (*)(uint32_t *pixel, uint32_t value, int parameter);

class TMTC : public CDibCore {
public:
    TMTC() = default;
    TMTC(int32_t width, int32_t height);
    // From a 32-bit buffer handed over by the shell (rows strideBytes apart, top row first):
    // the pixels are copied and every alpha becomes 255.
    TMTC(const uint32_t *pixels, int32_t width, int32_t height, ptrdiff_t strideBytes);
    ~TMTC() override;

    bool Resize(int32_t width, int32_t height) override;
    int64_t ByteSize() const override;
    int BytesPerPixel() const override { return 4; }
    int32_t RowStep() const override { return width_; }

    uint32_t *RowPixels(int32_t y) const { return reinterpret_cast<uint32_t *>(Row(y)); }
    uint32_t &At(int32_t x, int32_t y) const { return RowPixels(y)[x]; }
    uint32_t ClampedAt(int32_t x, int32_t y) const;
    uint32_t ClampedGreyAt(int32_t x, int32_t y) const;
    void ClampedAccumulate(int32_t x, int32_t y, uint32_t &sumB, uint32_t &sumG, uint32_t &sumR) const;

    // Mixes the colour's blue, green and red into the pixel (exact mix, or the table mix);
    // alpha kept; nothing and false outside the image.
    bool SetWeighted(int32_t x, int32_t y, uint8_t weight, uint32_t colour);
    bool SetWeightedByTable(int32_t x, int32_t y, uint8_t weight, uint32_t colour);

    void Fill(uint32_t value);
    bool FillRect(SExtent rect, uint32_t value);
    // pixel = (mask AND value) OR (NOT mask AND pixel).
    bool MaskedFill(SExtent rect, uint32_t mask, uint32_t value);
    bool SetAlphaRect(SExtent rect, uint8_t alpha);
    void SetAlpha(uint8_t alpha);
    bool BlendedFill(SExtent rect, uint32_t colour, uint8_t weight);
    bool Apply(SExtent rect, ColourOp op, uint32_t colour, int parameter);
    bool XorRect(SExtent rect, uint32_t value);

    // Copies a rectangle of a 32-bit buffer (top row first) to point; the buffer's fourth
    // byte lands in alpha.
    bool CopyFromPixels(SPoint point, const uint32_t *pixels, int32_t width, int32_t height,
                        ptrdiff_t strideBytes, SExtent rect);
};

} // namespace pv
