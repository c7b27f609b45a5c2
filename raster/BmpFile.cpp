// The 24-bit BMP file writer and the in-memory BMP reader.
#include "raster/DibFormat.h"

#include "raster/PixelMath.h"
#include "platform/AtomicFile.h"

#include <cstring>

namespace pv {

namespace {

uint32_t Read16(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t Read32(const uint8_t *p)
{
    return Read16(p) | Read16(p + 2) << 16;
}

bool WriteBmp24(int fd, const TTC &image, int dpi)
{
    SBitmapInfoHeader header;
    const int64_t rowLength = MakeDibHeader(image.Width(), image.Height(), 24, dpi, header);
    std::vector<uint8_t> bytes = {'B', 'M'};
    const uint32_t fileSize = uint32_t(kFileHeaderBytes + kInfoHeaderBytes + rowLength * image.Height());
    for (const uint32_t v : {fileSize, 0u, uint32_t(kFileHeaderBytes + kInfoHeaderBytes)})
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(v >> shift));
    AppendInfoHeader(header, bytes);
    if (!WriteAll(fd, bytes.data(), bytes.size()))
        return false;
    std::vector<uint8_t> row(size_t(rowLength), 0);
    for (int32_t y = image.Height() - 1; y >= 0; --y) {
        const uint32_t *pixels = image.RowPixels(y);
        for (int32_t x = 0; x < image.Width(); ++x) {
            row[size_t(x) * 3] = uint8_t(BlueOf(pixels[x]));
            row[size_t(x) * 3 + 1] = uint8_t(GreenOf(pixels[x]));
            row[size_t(x) * 3 + 2] = uint8_t(RedOf(pixels[x]));
        }
        if (!WriteAll(fd, row.data(), row.size()))
            return false;
    }
    return true;
}

} // namespace

bool SaveBmp24(const TTC &image, const std::string &path, int dpi)
{
    return image.IsValid() && ReplaceFileAtomically(path, [&](int fd) { return WriteBmp24(fd, image, dpi); });
}

bool LoadBmpFromMemory(TMTC &image, const uint8_t *data, size_t size, int *dpi)
{
    if (data == nullptr || size < kFileHeaderBytes + kInfoHeaderBytes || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint64_t pixelOffset = Read32(data + 10);
    const uint8_t *info = data + kFileHeaderBytes;
    const uint32_t headerSize = Read32(info);
    const int32_t width = int32_t(Read32(info + 4));
    const int32_t height = int32_t(Read32(info + 8));
    const uint32_t bitCount = Read16(info + 14);
    const uint32_t compression = Read32(info + 16);
    const int32_t xPelsPerMeter = int32_t(Read32(info + 24));
    const uint32_t colorsUsed = Read32(info + 32);
    if (dpi != nullptr)
        *dpi = headerSize == 40 || headerSize == 108 || headerSize == 124 ? int(xPelsPerMeter * 2.54 / 100 + 0.41) : 0;
    if (headerSize != 40 || (bitCount != 24 && bitCount != 32))
        return false;
    if (compression != 0 && !(compression == 3 && colorsUsed == 3))
        return false;
    const uint64_t headersEnd = kFileHeaderBytes + kInfoHeaderBytes + (compression == 3 ? 12 : 0);
    // A height of INT32_MIN has no positive counterpart; the side limit refuses it below.
    const bool topDown = height < 0;
    const int64_t rows = topDown ? -int64_t(height) : height;
    if (width <= 0 || rows == 0 || width > kMaxImageSide || rows > kMaxImageSide)
        return false;
    const uint64_t rowLength = bitCount == 24 ? (uint64_t(width) * 3 + 3) & ~uint64_t(3) : uint64_t(width) * 4;
    if (pixelOffset < headersEnd || pixelOffset > size || (size - pixelOffset) / rowLength < uint64_t(rows))
        return false;
    if (!image.Resize(width, int32_t(rows)))
        return false;
    for (int64_t n = 0; n < rows; ++n) {
        const uint8_t *p = data + pixelOffset + uint64_t(n) * rowLength;
        uint32_t *row = image.RowPixels(int32_t(topDown ? rows - 1 - n : n));
        if (bitCount == 32) {
            std::memcpy(row, p, size_t(width) * 4);
            continue;
        }
        for (int32_t x = 0; x < width; ++x, p += 3)
            row[x] = MakeColour(p[2], p[1], p[0], 255);
    }
    return true;
}

} // namespace pv
