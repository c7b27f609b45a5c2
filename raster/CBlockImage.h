// CBlockImage: the tiling machinery of block-tiled images. The image is cut into square
// tiles; a tile gets pixel memory only when something other than its uniform value is
// written into it, and reads as that one value while it has none.
//
// The tile table keeps one 64-bit slot per tile, so an empty 10,000 x 10,000 colour image
// holds under 1 MB: an unallocated slot holds the uniform value (tag bit 0 set), an allocated
// one the address of the tile's memory (64-byte aligned). Bit 1 of either form is the tile's
// changed-since-shown flag, which the display takes to know what to repaint. Everything else
// a tile has — position, valid size, its view — is derived from its index.
#pragma once

#include "raster/ImageRect.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pv {

class CBlockImage {
public:
    CBlockImage(const CBlockImage &) = delete;
    CBlockImage &operator=(const CBlockImage &) = delete;
    virtual ~CBlockImage();

    virtual bool IsValid() const { return valid_; }
    // Frees every tile and builds a table for the new size; false (image not valid) for a
    // side outside 0..32767.
    bool ResetSize(int32_t width, int32_t height);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t TileWidth() const { return tileSize_; }
    int32_t TileHeight() const { return tileSize_; }
    int TileShift() const { return shift_; }
    int32_t TileMask() const { return tileSize_ - 1; }
    int32_t TilesAcross() const { return across_; }
    int32_t TilesDown() const { return down_; }
    int32_t TileCount() const { return across_ * down_; }
    int32_t TileByteSize() const { return tileSize_ * tileSize_ * bytesPerPixel_; }

    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // The tile holding pixel (x, y) (no bounds check), and tile (bx, by) or -1 outside.
    int32_t TileIndexAt(int32_t x, int32_t y) const { return (y >> shift_) * across_ + (x >> shift_); }
    int32_t TileIndex(int32_t bx, int32_t by) const;
    // The tile's valid area in image coordinates.
    SExtent TileRect(int32_t tile) const;

    bool IsAllocated(int32_t tile) const { return (slots_[tile] & kUnallocated) == 0; }
    // What an unallocated tile reads as (meaningless for an allocated one).
    uint32_t Uniform(int32_t tile) const { return uint32_t(slots_[tile] >> 32); }
    uint8_t *TileMemory(int32_t tile) const
    {
        return IsAllocated(tile) ? reinterpret_cast<uint8_t *>(slots_[tile] & ~kFlagBits) : nullptr;
    }
    // Sets the uniform value of an unallocated tile (nothing for an allocated one).
    void SetUniform(int32_t tile, uint32_t value);
    // Gives the tile memory filled with its uniform value; false, with the message shown and
    // the tile left uniform, when memory runs out. True at once for an allocated tile.
    virtual bool AllocTile(int32_t tile);
    // Frees the memory; the tile keeps `uniform` as its value.
    virtual void FreeTile(int32_t tile, uint32_t uniform);
    int32_t AllocatedTiles() const;
    int64_t MemoryUse() const { return int64_t(AllocatedTiles()) * TileByteSize(); }

    // Changed-since-shown flags.
    bool IsChanged(int32_t tile) const { return (slots_[tile] & kChanged) != 0; }
    void MarkChanged(int32_t tile) { slots_[tile] |= kChanged; }
    // The changed tiles, whose flags are cleared.
    std::vector<int32_t> TakeChangedTiles();

    // Cuts a rectangle (clipped to the image) along tile borders and calls
    // visit(tile, piece, localX, localY) for each piece, tile row by tile row, left to right.
    template <class Visit> void ForEachPiece(SExtent rect, Visit &&visit) const;
    // The same walk for writing: each piece's tile is allocated and marked changed before
    // visit runs; a tile that cannot be allocated is skipped and makes the result false.
    template <class Visit> bool ForEachWritablePiece(SExtent rect, Visit &&visit);
    // Walks a copy of source rectangle rect of src to point of this image (clipped as a
    // copy) in pieces that cross no tile border of either image:
    // visit(tile, piece, lx, ly, srcTile, srcLx, srcLy) with piece in this image's coordinates.
    template <class Visit> void ForEachPiecePair(const CBlockImage &src, SPoint point, SExtent rect, Visit &&visit) const;
    // Calls f(pixels, count) on every run of Pixel values of the rectangle (clipped). A whole
    // unallocated tile is transformed on its uniform value; a part of one is allocated first,
    // unless f leaves its uniform value as it is. False when a tile could not be allocated.
    template <class Pixel, class F> bool TransformRect(SExtent rect, F &&f);
    // The source coordinates of the 4 x 4 samples that reduce a w1 x h1 image into a pixel
    // (x, y) of a w2 x h2 one: ((w1 · 1024 / w2) · x + (w1 · 256 / w2) · j) >> 10, likewise
    // vertically, for j and i in 0..3.
    struct SixteenSamples {
        int64_t stepX, subX, stepY, subY;
        SixteenSamples(int32_t w1, int32_t h1, int32_t w2, int32_t h2)
            : stepX(int64_t(w1) * 1024 / w2), subX(int64_t(w1) * 256 / w2), stepY(int64_t(h1) * 1024 / h2),
              subY(int64_t(h1) * 256 / h2) {}
        int32_t X(int32_t x, int32_t j) const { return int32_t((stepX * x + subX * j) >> 10); }
        int32_t Y(int32_t y, int32_t i) const { return int32_t((stepY * y + subY * i) >> 10); }
    };
    // The box reduction of a window into a rectangle of a destination of destW x destH: for
    // each destination pixel (x, y) inside it, visit(x, y, sx, sy, boxW, boxH) with the box
    // of boxW x boxH source samples starting at (sx, sy). False for empty sizes.
    template <class Visit>
    static bool ForEachReducedPixel(int32_t destW, int32_t destH, SExtent destRect, SExtent window, Visit &&visit);
    // Whether a piece at local (lx, ly) covers its whole tile.
    bool CoversTile(int32_t tile, const SExtent &piece, int32_t lx, int32_t ly) const;

    // For every tile position both images have: an allocated source tile is copied (the
    // destination allocated first), an unallocated one frees the destination tile; the uniform
    // value is taken in both cases. Both images must have the same tile geometry.
    bool CopyAllTiles(const CBlockImage &other);
    // The same for the tiles of a source rectangle widened to tile borders, landing at the
    // tiles of point >> shift.
    bool CopyTilesOfRect(const CBlockImage &other, SPoint point, SExtent rect);

protected:
    CBlockImage(int32_t tileSize, int shift, int bytesPerPixel) : tileSize_(tileSize), shift_(shift), bytesPerPixel_(bytesPerPixel) {}
    // The value every tile of a new table reads as.
    virtual uint32_t DefaultUniform() const = 0;
    // Fills an allocated tile's memory with one value.
    virtual void FillTileMemory(int32_t tile, uint32_t value) = 0;
    // Called after a tile got memory (colour images grow their region list).
    virtual void TileAllocated(int32_t) {}
    bool Build(int32_t width, int32_t height);

private:
    static constexpr uint64_t kUnallocated = 1, kChanged = 2, kFlagBits = 3;
    void FreeAll();
    bool CopyTile(const CBlockImage &other, int32_t from, int32_t to);

    int32_t tileSize_;
    int shift_;
    int bytesPerPixel_;
    bool valid_ = false;
    int32_t width_ = 0, height_ = 0, across_ = 0, down_ = 0;
    std::vector<uint64_t> slots_;
};

template <class Visit> void CBlockImage::ForEachPiece(SExtent rect, Visit &&visit) const
{
    if (!valid_ || !ClipToImage(rect, width_, height_))
        return;
    const int32_t mask = TileMask();
    for (int32_t y = rect.y, bottom = rect.y + rect.height; y < bottom;) {
        const int32_t bandHeight = std::min(tileSize_ - (y & mask), bottom - y);
        for (int32_t x = rect.x, right = rect.x + rect.width; x < right;) {
            const int32_t pieceWidth = std::min(tileSize_ - (x & mask), right - x);
            visit(TileIndexAt(x, y), SExtent{x, y, pieceWidth, bandHeight}, x & mask, y & mask);
            x += pieceWidth;
        }
        y += bandHeight;
    }
}

template <class Visit> bool CBlockImage::ForEachWritablePiece(SExtent rect, Visit &&visit)
{
    bool ok = true;
    ForEachPiece(rect, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        if (!AllocTile(tile)) {
            ok = false;
            return;
        }
        MarkChanged(tile);
        visit(tile, piece, lx, ly);
    });
    return ok;
}

template <class Pixel, class F> bool CBlockImage::TransformRect(SExtent rect, F &&f)
{
    if (!valid_ || !ClipToImage(rect, width_, height_))
        return false;
    bool ok = true;
    ForEachPiece(rect, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        if (!IsAllocated(tile)) {
            const Pixel uniform = Pixel(Uniform(tile));
            Pixel changed = uniform;
            f(&changed, 1);
            if (changed == uniform)
                return;
            if (CoversTile(tile, piece, lx, ly)) {
                SetUniform(tile, uint32_t(changed));
                return;
            }
            if (!AllocTile(tile)) {
                ok = false;
                return;
            }
        }
        MarkChanged(tile);
        Pixel *pixels = reinterpret_cast<Pixel *>(TileMemory(tile));
        for (int32_t j = 0; j < piece.height; ++j)
            f(pixels + (ly + j) * tileSize_ + lx, piece.width);
    });
    return ok;
}

template <class Visit>
bool CBlockImage::ForEachReducedPixel(int32_t destW, int32_t destH, SExtent destRect, SExtent window, Visit &&visit)
{
    if (destRect.width <= 0 || destRect.height <= 0 || window.width <= 0 || window.height <= 0)
        return false;
    const int32_t boxW = window.width / destRect.width + 1, boxH = window.height / destRect.height + 1;
    for (int32_t j = 0; j < destRect.height; ++j) {
        const int32_t y = destRect.y + j;
        if (y < 0 || y >= destH)
            continue;
        const int32_t sy = window.y + int32_t((int64_t(j) * window.height * 1024 / destRect.height) >> 10);
        for (int32_t i = 0; i < destRect.width; ++i) {
            const int32_t x = destRect.x + i;
            if (x >= 0 && x < destW)
                visit(x, y, window.x + int32_t((int64_t(i) * window.width * 1024 / destRect.width) >> 10), sy, boxW, boxH);
        }
    }
    return true;
}

template <class Visit>
void CBlockImage::ForEachPiecePair(const CBlockImage &src, SPoint point, SExtent rect, Visit &&visit) const
{
    if (!valid_ || !src.IsValid() || !ClipCopy(point, rect, src.Width(), src.Height(), width_, height_))
        return;
    const int32_t dx = rect.x - point.x, dy = rect.y - point.y;
    ForEachPiece(SExtent{point.x, point.y, rect.width, rect.height}, [&](int32_t tile, SExtent piece, int32_t, int32_t) {
        src.ForEachPiece(SExtent{piece.x + dx, piece.y + dy, piece.width, piece.height},
                         [&](int32_t srcTile, SExtent srcPiece, int32_t slx, int32_t sly) {
                             const SExtent dst{srcPiece.x - dx, srcPiece.y - dy, srcPiece.width, srcPiece.height};
                             visit(tile, dst, dst.x & TileMask(), dst.y & TileMask(), srcTile, slx, sly);
                         });
    });
}

} // namespace pv
