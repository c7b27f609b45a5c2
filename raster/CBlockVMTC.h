// CBlockVMTC: a block-tiled colour image (32 x 32 tiles of 0xAARRGGBB pixels, 4 KiB each):
// the pixels of a layer. New tiles read as 0x00FFFFFF. Each allocated tile is handed to the
// colour routines as a TVMTC view, so tile code reuses the whole toolkit of plain images.
//
// The region list covers every allocated tile and every uniform tile with a non-zero alpha.
// Operations that change pixels mark it stale; it is rebuilt the next time it is read.
#pragma once

#include "raster/BlockRegionList.h"
#include "raster/CBlockImage.h"
#include "raster/MergeRoutines.h"
#include "raster/SRandomRecord.h"
#include "raster/TMTC.h"
#include "raster/TVMTC.h"

namespace pv {

class CBlockVCH;

class CBlockVMTC : public CBlockImage {
public:
    static constexpr uint32_t kDefaultColour = 0x00FFFFFF;

    CBlockVMTC() : CBlockImage(32, 5, 4) {}
    CBlockVMTC(int32_t width, int32_t height);
    // Same size and tiles as other.
    bool CreateAsCopy(const CBlockVMTC &other);
    bool Create(int32_t width, int32_t height);

    // Points a view at an allocated tile's valid area (an unallocated tile leaves it empty).
    void ShowTile(TVMTC &view, int32_t tile) const;

    uint32_t Pixel(int32_t x, int32_t y) const;
    uint32_t ClampedPixel(int32_t x, int32_t y) const;
    uint32_t PixelOrDefault(int32_t x, int32_t y) const; // outside the image: the default colour
    uint32_t GreyAt(int32_t x, int32_t y) const;
    // Allocating writes; nothing outside the image or when memory runs out.
    bool WritePixel(int32_t x, int32_t y, uint32_t value);
    bool WriteClampedPixel(int32_t x, int32_t y, uint32_t value);
    uint32_t *PixelAddress(int32_t x, int32_t y);

    const std::vector<SEdgeRect> &Regions() const;

    // Copies a source rectangle into a plain image at point with a weight (255 copies exactly,
    // alpha included). Unallocated tiles are laid as their uniform colour with the same weight,
    // so the result never depends on which tiles happen to have memory; with skipTransparent a
    // uniform colour of alpha 0 is left out.
    bool DrawInto(TMTC &dest, SPoint point, uint8_t weight, bool skipTransparent, SExtent rect) const;
    bool DrawInto(TMTC &dest, SPoint point) const { return DrawInto(dest, point, 255, false, {0, 0, Width(), Height()}); }
    // Draws a source rectangle of a plain image into this one at point with a weight.
    bool WriteFrom(const TMTC &source, SPoint point, uint8_t weight, SExtent rect);
    // An exact copy of a rectangle of another block image to point; a whole unallocated
    // destination tile covered by an unallocated source piece only takes the uniform colour.
    bool CopyFrom(const CBlockVMTC &other, SPoint point, SExtent rect);

    // pixel = (mask AND value) OR (NOT mask AND pixel); a whole uniform tile keeps its uniform
    // form.
    bool MaskedFill(SExtent rect, uint32_t mask, uint32_t value);
    bool XorRect(SExtent rect, uint32_t value);
    bool SetColour(SExtent rect, uint32_t colour) { return MaskedFill(rect, 0x00FFFFFF, colour); }
    bool SetAlpha(SExtent rect, uint8_t alpha) { return MaskedFill(rect, 0xFF000000, uint32_t(alpha) << 24); }
    // Allocated tiles are filled, unallocated ones take the colour as their uniform value.
    void SetEveryTile(uint32_t colour);
    // Frees every allocated tile whose valid pixels are all equal; returns how many.
    int32_t Compact();
    // The tile-aligned box of the tiles with some alpha; false when there is none.
    bool VisibleTileBox(SEdgeRect &box) const;

    // ---- compositing (BlockColourCompose.cpp)

    // Composes a rectangle of this layer image into a plain image at point with the mode's
    // compose routine and opacity, visiting only the region list: allocated tiles and uniform
    // tiles with some alpha, a tile row at a time, the view's pixels under the row read into
    // cache first. With a dither record the dither operator composes instead, its draws keyed
    // to layer coordinates.
    bool ComposeIntoView(TMTC &dest, int mode, uint8_t opacity, const SRandomRecord *dither, uint8_t ditherAmount,
                         SPoint point, SExtent rect) const;
    // Composes this whole layer image into another block image of the same size.
    bool ComposeLayerInto(CBlockVMTC &dest, int mode, uint8_t opacity) const;
    // Folds lowerOpacity into the alpha of every pixel (uniform tiles included), then merges
    // a rectangle of the upper image laid at point with routine(pixel, upper, upperOpacity).
    bool Merge(const CBlockVMTC &upper, SPoint point, MergeRoutine routine, uint8_t upperOpacity,
               uint8_t lowerOpacity, SExtent rect);
    bool GenericMerge(const CBlockVMTC &upper, SPoint point, const SMergeParam &param, uint8_t upperOpacity,
                      uint8_t lowerOpacity, SExtent rect);
    // Draws a rectangle with the mode's drawing operator and the opacity as its parameter.
    bool DrawWithOperatorInto(TMTC &dest, int mode, uint8_t opacity, SPoint point, SExtent rect) const;
    // The same onto another block image, whose touched pieces then have alpha 255.
    bool DrawWithOperatorInto(CBlockVMTC &dest, int mode, uint8_t opacity, SPoint point, SExtent rect) const;
    // alpha = T[opacity][alpha] for every pixel.
    void FoldOpacity(uint8_t opacity);

    // ---- geometry (BlockColourGeometry.cpp)

    // Through a plain copy of the whole image; tiles left uniform are compacted again.
    bool FlipHorizontal(SExtent rect);
    bool FlipVertical(SExtent rect);
    bool Rotate180(SExtent rect);
    // dest becomes height x width: clockwise dest (i, j) = source (j, height - 1 - i);
    // counter-clockwise dest (i, j) = source (width - 1 - j, i).
    bool Rotate90Into(TMTC &dest, bool clockwise) const;
    bool Rotate90Into(CBlockVMTC &dest, SPoint point, bool clockwise) const;
    // Box averages of a window of this image into a rectangle of dest (layer thumbnails).
    bool ReduceInto(TMTC &dest, SExtent destRect, SExtent window) const;
    // 4 x 4 samples per pixel into a smaller block image, then compact.
    bool ReduceInto(CBlockVMTC &dest) const;

    // ---- planes (BlockColourPlanes.cpp)

    // One channel plane (0 blue, 1 green, 2 red, 3 alpha) of count pixels from (x, y); rows
    // outside the image and other planes do nothing.
    bool WritePlaneRow(int32_t x, int32_t y, int32_t count, const uint8_t *bytes, int plane);
    bool ReadPlaneRow(int32_t x, int32_t y, int32_t count, uint8_t *bytes, int plane) const;
    // Each bit, most significant first, makes one pixel's colour black (set) or white (clear);
    // x is rounded down to a multiple of 8.
    bool WriteBitRow(int32_t x, int32_t y, int32_t count, const uint8_t *bits);
    // The alpha bytes of a rectangle (width x height, top row first), written back keeping
    // the colour, and swapped with a buffer of the whole image's size; writes end with compact.
    bool ReadAlpha(SExtent rect, uint8_t *bytes) const;
    bool WriteAlpha(SExtent rect, const uint8_t *bytes);
    bool SwapAlpha(uint8_t *bytes);

protected:
    uint32_t DefaultUniform() const override { return kDefaultColour; }
    void FillTileMemory(int32_t tile, uint32_t value) override;
    void TileAllocated(int32_t tile) override;
    void RegionsStale() { regionsStale_ = true; }

private:
    static const ptrdiff_t *RowTable();
    void RebuildRegions() const;

    mutable BlockRegionList regions_;
    mutable bool regionsStale_ = false;
};

} // namespace pv
