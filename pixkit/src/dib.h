// The packed DIB as it crosses the interface: checking a caller's header, finding its rows,
// converting a row to 32-bit pixels, and building the two blocks a reader returns.
#pragma once

#include "pixkit.h"

#include <cstdint>
#include <cstdio>

namespace pixkit {

// Images are refused beyond this many bytes of pixels (and beyond kMaxSide pixels a side).
constexpr uint64_t kMaxPixelBytes = uint64_t{1} << 30;
constexpr int32_t kMaxSide = 32767;

// Bytes of one row: width x bit count, padded to 4 bytes (64-bit, never overflows for int32).
inline uint64_t DibStride(int64_t width, int bitCount)
{
    return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) / 32) * 4;
}

bool IsSupportedBitCount(int bitCount);

// What a header block says, checked.
struct DibLayout {
    int32_t width = 0;
    int32_t height = 0;            // rows, positive
    bool topDown = false;
    int bitCount = 0;
    bool bitFields = false;
    uint32_t masks[3] = {};        // red, green, blue (16 and 32 bits)
    uint64_t stride = 0;
    uint32_t tableEntries = 0;     // bit counts up to 8
    const uint8_t *table = nullptr;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;

    // The stored row that shows image row y (0 = top).
    const uint8_t *Row(const void *pixels, int32_t y) const
    {
        const int64_t stored = topDown ? y : height - 1 - y;
        return static_cast<const uint8_t *>(pixels) + static_cast<uint64_t>(stored) * stride;
    }
    // True when 32-bit pixels are blue, green, red and a fourth byte, as stored.
    bool IsPlain32() const;
};

// PIXKIT_OK, PIXKIT_UNSUPPORTED_HEADER (size, sizes or bit count) or PIXKIT_UNSUPPORTED_KIND
// (compression other than none, or bit fields with other than 16 or 32 bits).
int DescribeDib(const void *header, DibLayout &layout);

// Converts `count` pixels of a stored row into blue, green, red, alpha.
void ConvertRowTo32(const DibLayout &layout, const uint8_t *row, int32_t count, uint8_t *dst);

// The blocks a reader hands out. Both are allocated with pixkitLocalAlloc; Release frees
// what is still held, Hand gives both to the caller.
class DibBlocks {
public:
    DibBlocks() = default;
    DibBlocks(const DibBlocks &) = delete;
    DibBlocks &operator=(const DibBlocks &) = delete;
    ~DibBlocks() { Release(); }

    // A 40-byte header for width x height (positive: bottom-up), followed by room for
    // tableEntries colours or, with bitFields, three masks. False when out of memory.
    bool MakeHeader(int32_t width, int32_t height, int bitCount, uint32_t tableEntries, bool bitFields);
    bool MakePixels(uint64_t bytes);
    PixkitBitmapInfoHeader *header() { return static_cast<PixkitBitmapInfoHeader *>(header_); }
    uint8_t *table() { return static_cast<uint8_t *>(header_) + sizeof(PixkitBitmapInfoHeader); }
    uint8_t *pixels() { return static_cast<uint8_t *>(pixels_); }
    void Hand(void **header, void **pixels);
    void Release();

private:
    void *header_ = nullptr;
    void *pixels_ = nullptr;
};

// Resolution in dots per inch from pixels per metre: trunc(ppm x 0.0254 + 0.41).
int32_t DotsPerInch(int32_t pixelsPerMeter);
// Fills the resolution fields of a type record when both are stated.
void SetTypeResolution(PixkitImageType &type, int32_t xPelsPerMeter, int32_t yPelsPerMeter);

} // namespace pixkit
