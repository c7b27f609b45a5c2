// The base of every in-memory raster: size, pixel memory and the row-offset table through
// which every operation addresses pixels, so that one algorithm serves top-down and
// bottom-up images alike. Pixel (x, y) lives at pixels + rowOffset[y] + x * BytesPerPixel().
//
// Sides are limited to 0..kMaxImageSide; byte sizes are computed in 64 bits. An image is
// empty (0 x 0, not valid) after construction without size, after Clear and after a failed
// Resize; Resize is the only way to (re)allocate.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pv {

constexpr int32_t kMaxImageSide = 32767;

// The byte size of a width x height image of bytesPerPixel, or -1 when a side is negative or
// above kMaxImageSide.
int64_t CheckedImageBytes(int64_t width, int64_t height, int bytesPerPixel);

class CDibCore {
public:
    CDibCore() = default;
    CDibCore(const CDibCore &) = delete;
    CDibCore &operator=(const CDibCore &) = delete;
    virtual ~CDibCore();

    virtual void Init();
    virtual void Clear();
    virtual void Release();
    virtual bool IsValid() const;
    virtual bool Resize(int32_t width, int32_t height) = 0;
    virtual int64_t ByteSize() const = 0;
    virtual int BytesPerPixel() const = 0;
    // In pixels; positive means row 0 comes first in memory (top-down).
    virtual int32_t RowStep() const = 0;
    virtual uint8_t *PixelAddress(int32_t x, int32_t y) const;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint8_t *Pixels() const { return pixels_; }
    const ptrdiff_t *RowOffsets() const { return rowOffset_; }
    bool IsTopDown() const { return RowStep() > 0; }

    // The first byte of row y; no bounds check.
    uint8_t *Row(int32_t y) const { return pixels_ + rowOffset_[y]; }
    bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

protected:
    // Frees the owned pixel block and row table and empties the image.
    void FreeOwned();
    // Makes the (cleared) image width x height with the given row order, taking over kept
    // (a block of the right size) or allocating a new block; on failure frees kept, writes
    // failureText to the log and leaves the image empty.
    bool Allocate(int32_t width, int32_t height, bool bottomUp, const char *failureText,
                  uint8_t *kept = nullptr);
    // Allocates a row table for height rows of rowBytes bytes, bottom-up when asked;
    // false on allocation failure.
    bool BuildRowTable(int32_t height, int64_t rowBytes, bool bottomUp);
    // Takes a block the image owns from now on.
    void Adopt(uint8_t *pixels, int32_t width, int32_t height);
    // Points the image at memory and a row table it does not own (views).
    void Present(uint8_t *pixels, const ptrdiff_t *rowOffsets, int32_t width, int32_t height);
    void Forget();
    // Allocates bytes of uninitialised pixel memory (null on failure).
    static uint8_t *AllocatePixels(int64_t bytes);
    static void FreePixels(uint8_t *pixels);

    int32_t width_ = 0;
    int32_t height_ = 0;
    uint8_t *pixels_ = nullptr;
    ptrdiff_t *rowOffset_ = nullptr;
};

} // namespace pv
