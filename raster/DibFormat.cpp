// DIB headers and packed DIBs.
#include "raster/DibFormat.h"

#include "raster/PixelMath.h"

#include <cstring>
#include <new>

namespace pv {

namespace {

void Put16(std::vector<uint8_t> &out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t> &out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Allocates the pixel block of a packed DIB; false when memory runs out.
bool AllocateBits(SPackedDib &out, int64_t bytes)
{
    try {
        out.bits.assign(size_t(bytes), 0);
    } catch (const std::bad_alloc &) {
        out.bits.clear();
        return false;
    }
    return true;
}

} // namespace

int64_t MakeDibHeader(int32_t width, int32_t height, int bitCount, int dpi, SBitmapInfoHeader &out)
{
    const int64_t rowLength = bitCount == 24 ? (int64_t(width) * 3 + 3) / 4 * 4 : int64_t(width) * 4;
    const int32_t pelsPerMeter = int32_t(dpi * 100 / 2.54);
    out = SBitmapInfoHeader{};
    out.width = width;
    out.height = height;
    out.bitCount = uint16_t(bitCount);
    out.imageSize = uint32_t(rowLength * height);
    out.xPelsPerMeter = pelsPerMeter;
    out.yPelsPerMeter = pelsPerMeter;
    return rowLength;
}

void AppendInfoHeader(const SBitmapInfoHeader &h, std::vector<uint8_t> &out)
{
    Put32(out, h.size);
    Put32(out, uint32_t(h.width));
    Put32(out, uint32_t(h.height));
    Put16(out, h.planes);
    Put16(out, h.bitCount);
    Put32(out, h.compression);
    Put32(out, h.imageSize);
    Put32(out, uint32_t(h.xPelsPerMeter));
    Put32(out, uint32_t(h.yPelsPerMeter));
    Put32(out, h.colorsUsed);
    Put32(out, h.colorsImportant);
}

bool PackDib24(const TTC &image, int dpi, SPackedDib &out)
{
    if (!image.IsValid())
        return false;
    const int64_t rowLength = MakeDibHeader(image.Width(), image.Height(), 24, dpi, out.header);
    if (!AllocateBits(out, rowLength * image.Height()))
        return false;
    for (int32_t i = 0; i < image.Height(); ++i) {
        const uint32_t *row = image.RowPixels(image.Height() - 1 - i);
        uint8_t *p = out.bits.data() + i * rowLength;
        for (int32_t x = 0; x < image.Width(); ++x) {
            *p++ = uint8_t(BlueOf(row[x]));
            *p++ = uint8_t(GreenOf(row[x]));
            *p++ = uint8_t(RedOf(row[x]));
        }
    }
    return true;
}

bool PackDib32(const TMTC &image, SExtent rect, int dpi, SPackedDib &out)
{
    if (!image.IsValid() || !ClipToImage(rect, image.Width(), image.Height()))
        return false;
    const int64_t rowLength = MakeDibHeader(rect.width, rect.height, 32, dpi, out.header);
    if (!AllocateBits(out, rowLength * rect.height))
        return false;
    for (int32_t i = 0; i < rect.height; ++i)
        std::memcpy(out.bits.data() + i * rowLength, image.RowPixels(rect.y + rect.height - 1 - i) + rect.x,
                    size_t(rowLength));
    return true;
}

} // namespace pv
