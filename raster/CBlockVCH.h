// CBlockVCH: a block-tiled 8-bit image (64 x 64 tiles of bytes, 4 KiB each): the pixels of a
// selection mask. New tiles read as 0; outside the image a mask reads 0 too. Allocated tiles
// are handed to the 8-bit routines as TVChannel views.
#pragma once

#include "raster/CBlockImage.h"
#include "raster/TChannel.h"
#include "raster/TTC.h"
#include "raster/TVMTC.h"

namespace pv {

class CBlockVMTC;

class CBlockVCH : public CBlockImage {
public:
    CBlockVCH() : CBlockImage(64, 6, 1) {}
    CBlockVCH(int32_t width, int32_t height);
    // Valid only for a non-empty size.
    bool Create(int32_t width, int32_t height);
    bool IsValid() const override { return CBlockImage::IsValid() && Width() > 0 && Height() > 0; }

    void ShowTile(TVChannel &view, int32_t tile) const;

    uint8_t Value(int32_t x, int32_t y) const;
    uint8_t ClampedValue(int32_t x, int32_t y) const;
    uint8_t ValueOrZero(int32_t x, int32_t y) const;
    bool WriteValue(int32_t x, int32_t y, uint8_t v);
    bool WriteClampedValue(int32_t x, int32_t y, uint8_t v);
    uint8_t *ValueAddress(int32_t x, int32_t y);

    // Exact copies to and from plain channels and between 8-bit block images; whole uniform
    // tiles stay uniform.
    bool ReadInto(TChannel &dest, SPoint point, SExtent rect) const;
    bool WriteFrom(const TChannel &source, SPoint point, SExtent rect);
    bool CopyFrom(const CBlockVCH &other, SPoint point, SExtent rect);
    bool FillRect(SExtent rect, uint8_t value);
    // The bands above, below, left and right of the rectangle.
    bool FillOutside(SExtent rect, uint8_t value);
    bool XorRect(SExtent rect, uint8_t value);
    void Xor(uint8_t value) { XorRect({0, 0, Width(), Height()}, value); }
    int32_t Compact();
    bool NonZeroBox(SEdgeRect &box) const;
    // The tiles that are allocated or uniform with a non-zero value (tile-aligned, clipped).
    bool NonEmptyTileBox(SEdgeRect &box) const;
    // Box averages into a TTC as grey pixels (v, v, v) with alpha 0.
    bool ReduceInto(TTC &dest, SExtent destRect, SExtent window) const;
    bool ReduceInto(CBlockVCH &dest) const;
    bool WriteRow(int32_t x, int32_t y, int32_t count, const uint8_t *bytes);
    bool ReadRow(int32_t x, int32_t y, int32_t count, uint8_t *bytes) const;
    // Each pixel of dest becomes the maximum (grow) or minimum (shrink) of the 3 x 3
    // neighbourhood of this image, reads clamped at the border, over this image's non-empty
    // tile box — grown by one pixel for growing, so a region filling a tile can grow outward.
    bool GrowInto(CBlockVCH &dest) const;
    bool ShrinkInto(CBlockVCH &dest) const;
    // value = T[alpha][grey] (or T[alpha][255 - grey] inverted); or the alpha alone.
    bool FromColour(const CBlockVMTC &colour, bool invert);
    bool FromAlpha(const CBlockVMTC &colour);

protected:
    uint32_t DefaultUniform() const override { return 0; }
    void FillTileMemory(int32_t tile, uint32_t value) override;

private:
    static const ptrdiff_t *RowTable();
};

} // namespace pv
