// Device-independent bitmaps: the 40-byte info header, packed DIBs (header + pixel block, as
// the clipboard carries them), the 24-bit BMP file writer and the in-memory BMP reader.
//
// The reader trusts nothing: sizes, offsets and row data are checked against the bytes
// present before anything is allocated; it handles uncompressed 24- and 32-bit pictures
// (and 32-bit with three colour masks, which are skipped), nothing else.
#pragma once

#include "raster/TTC.h"

#include <string>
#include <vector>

namespace pv {

struct SBitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    // Positive: rows bottom-up; negative: top-down.
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 32;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t colorsUsed = 0;
    uint32_t colorsImportant = 0;
};

constexpr size_t kInfoHeaderBytes = 40;
constexpr size_t kFileHeaderBytes = 14;

// The header of a bottom-up 32- or 24-bit DIB at dpi; returns the row length in bytes
// (24-bit rows are padded to a multiple of 4).
int64_t MakeDibHeader(int32_t width, int32_t height, int bitCount, int dpi, SBitmapInfoHeader &out);

// The header as its 40 little-endian bytes.
void AppendInfoHeader(const SBitmapInfoHeader &header, std::vector<uint8_t> &out);

struct SPackedDib {
    SBitmapInfoHeader header;
    std::vector<uint8_t> bits;
};

// The whole image as a 24-bit DIB (alpha dropped), last row first; false on allocation failure.
bool PackDib24(const TTC &image, int dpi, SPackedDib &out);
// A rectangle (clipped) as a 32-bit DIB, pixels unchanged, the rectangle's last row first.
bool PackDib32(const TMTC &image, SExtent rect, int dpi, SPackedDib &out);

// Writes the image as a 24-bit BMP file through a temporary file in the same folder that
// replaces the target only when every byte was written; a failed save leaves the old file.
bool SaveBmp24(const TTC &image, const std::string &path, int dpi);

// Reads a BMP held in memory into image. The rows land in file order, bottom-up files
// therefore upside down, and the caller flips the result vertically; top-down files
// (negative height) are stored reversed so that the same flip makes them upright. 24-bit
// pictures come out opaque. dpi (when asked) is taken from the horizontal resolution.
bool LoadBmpFromMemory(TMTC &image, const uint8_t *data, size_t size, int *dpi);

} // namespace pv
