// CScaleImage and its family: the area-averaging resampler that maps a source rectangle onto
// a destination rectangle of any size. Positions are 16.16 fixed point; each destination
// pixel is the area average of the source span it covers, the partial edge pixels weighted by
// their covered fraction (single-precision sums). A span that ends beyond the source edge is
// averaged over its part inside the source.
//
// The family differs only in the images it connects and in how a pixel is accumulated:
// colour classes sum four channels, 8-bit classes one. The loop is a template over a small
// access type, so there is no virtual call per pixel. A whole rectangle is resampled through
// the spans of its columns and rows worked out once (AreaSpans), colour images row by row
// (AreaColour); the one-pixel average stays the plain per-pixel form they must agree with.
#pragma once

#include "raster/AreaSpans.h"
#include "raster/CBlockVCH.h"
#include "raster/CBlockVMTC.h"
#include "raster/TChannel.h"
#include "raster/TMTC.h"

#include <cstdint>

namespace pv {

// a / b as an exact 16.16 quotient: integer part |a| / |b|, fraction
// ((|a| mod |b|) · 2^32 / |b|) >> 16, with the sign of a · b. b must not be 0.
int32_t FixedQuotient(int64_t a, int64_t b);

class CScaleImage {
public:
    int32_t hScale() const { return hScale_; }
    int32_t vScale() const { return vScale_; }

protected:
    // Clips the source, sets the scales from it and the whole destination, then clips the
    // destination to its image; false when nothing is left.
    bool Prepare(SExtent &source, int32_t sourceW, int32_t sourceH, SExtent &dest, int32_t destW, int32_t destH);
    // The average of span (x0, y0)-(x1, y1) (16.16) of a sourceW x sourceH image into *out,
    // through Ops: Ops::Sum, Ops::Add(sum, x, y, weight), Ops::Store(out, sum, divisor).
    template <class Ops>
    static bool AreaAverage(const Ops &ops, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int32_t sourceW,
                            int32_t sourceH, typename Ops::Pixel *out);
    // The spans of the prepared rectangles' columns and rows.
    void BuildSpans(AreaSpans &columns, AreaSpans &rows) const;
    // Renders every destination pixel of the prepared rectangles through write(x, y, pixel).
    template <class Ops, class Write> void Render(const Ops &ops, Write &&write) const;

    int32_t sourceW_ = 0, sourceH_ = 0, destW_ = 0, destH_ = 0;
    int64_t sourceStartX_ = 0, sourceStartY_ = 0; // 16.16, where the clipped destination's first span begins
    SExtent destRect_;
    int32_t hScale_ = 0x10000, vScale_ = 0x10000;
};

// Two colour images of the plain family (the source may be rebound before each use).
class CScaleImageTMTC : public CScaleImage {
public:
    CScaleImageTMTC(const TMTC *source, TMTC *dest) : source_(source), dest_(dest) {}
    void Bind(const TMTC *source, TMTC *dest) { source_ = source, dest_ = dest; }
    bool Resample(SExtent source, SExtent dest);
    // The area average of an edge rectangle (16.16) of the source into one pixel.
    bool SamplePixel(uint32_t *pixel, int64_t left, int64_t top, int64_t right, int64_t bottom) const;
    // SamplePixel for count squares of side `size` with the given top-left corners, into
    // out[0..count); a square that misses the source gives `outside`.
    void SampleSquares(uint32_t *out, int32_t count, const int64_t *lefts, const int64_t *tops, int64_t size,
                       uint32_t outside) const;

private:
    const TMTC *source_;
    TMTC *dest_;
};

class CScaleImageCH : public CScaleImage {
public:
    CScaleImageCH(const TChannel &source, TChannel &dest) : source_(source), dest_(dest) {}
    bool Resample(SExtent source, SExtent dest);

private:
    const TChannel &source_;
    TChannel &dest_;
};

// Layer images: reads of the source tiles, allocating writes into the destination.
class CScaleLayerImage : public CScaleImage {
public:
    CScaleLayerImage(const CBlockVMTC &source, CBlockVMTC &dest) : source_(source), dest_(dest) {}
    bool Resample(SExtent source, SExtent dest);

private:
    const CBlockVMTC &source_;
    CBlockVMTC &dest_;
};

// Mask images.
class CScaleMaskImage : public CScaleImage {
public:
    CScaleMaskImage(const CBlockVCH &source, CBlockVCH &dest) : source_(source), dest_(dest) {}
    bool Resample(SExtent source, SExtent dest);

private:
    const CBlockVCH &source_;
    CBlockVCH &dest_;
};

} // namespace pv
