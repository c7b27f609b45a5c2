// Checking and converting packed DIBs, and the blocks the readers return.
#include "dib.h"

#include "file_util.h"

#include <algorithm>
#include <cstring>

namespace pixkit {
namespace {

constexpr uint32_t kDefault16Masks[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t kDefault32Masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

// One channel of a bit-field pixel, widened to 8 bits with rounding (a 5-bit 31 gives 255).
struct Channel {
    int shift = 0;
    uint32_t maximum = 0;   // the channel's largest value; 0 for an empty mask

    explicit Channel(uint32_t mask)
    {
        if (mask == 0)
            return;
        shift = __builtin_ctz(mask);
        maximum = mask >> shift;
    }
    uint8_t Extract(uint32_t pixel, uint32_t mask) const
    {
        if (maximum == 0)
            return 0;
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + maximum / 2) / maximum);
    }
};

void ConvertBitFields(const DibLayout &layout, const uint8_t *row, int32_t count, uint8_t *dst)
{
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    // In 32-bit pixels the byte the masks leave free carries alpha; otherwise it is opaque.
    const uint32_t unused = ~(layout.masks[0] | layout.masks[1] | layout.masks[2]);
    int alphaShift = -1;
    if (layout.bitCount == 32)
        for (int s = 0; s < 32; s += 8)
            if (((unused >> s) & 0xFF) == 0xFF)
                alphaShift = s;
    const int bytes = layout.bitCount / 8;
    for (int32_t x = 0; x < count; ++x, row += bytes, dst += 4) {
        const uint32_t pixel = bytes == 2 ? static_cast<uint32_t>(row[0] | (row[1] << 8)) : LoadLE32(row);
        dst[0] = blue.Extract(pixel, layout.masks[2]);
        dst[1] = green.Extract(pixel, layout.masks[1]);
        dst[2] = red.Extract(pixel, layout.masks[0]);
        dst[3] = alphaShift >= 0 ? static_cast<uint8_t>(pixel >> alphaShift) : 255;
    }
}

void ConvertIndexed(const DibLayout &layout, const uint8_t *row, int32_t count, uint8_t *dst)
{
    const int bits = layout.bitCount;
    const int perByte = 8 / bits;
    const uint32_t mask = (1u << bits) - 1;
    for (int32_t x = 0; x < count; ++x, dst += 4) {
        const int shift = 8 - bits * (x % perByte + 1);
        const uint32_t index = (row[x / perByte] >> shift) & mask;
        if (index < layout.tableEntries) {
            std::memcpy(dst, layout.table + index * 4, 3);
        } else {
            dst[0] = dst[1] = dst[2] = 0;   // an index past the table shows black
        }
        dst[3] = 255;
    }
}

} // namespace

bool IsSupportedBitCount(int bitCount)
{
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        return true;
    default:
        return false;
    }
}

bool DibLayout::IsPlain32() const
{
    return bitCount == 32 && std::equal(masks, masks + 3, kDefault32Masks);
}

int DescribeDib(const void *header, DibLayout &layout)
{
    if (header == nullptr)
        return PIXKIT_UNSUPPORTED_HEADER;
    PixkitBitmapInfoHeader h;
    std::memcpy(&h, header, sizeof h);
    // Known header sizes only: the colour table is found after the header.
    const bool knownSize = h.size == sizeof h || h.size == 108 || h.size == 124;
    if (!knownSize || h.width <= 0 || h.height == 0 || h.height == INT32_MIN ||
        !IsSupportedBitCount(h.bitCount))
        return PIXKIT_UNSUPPORTED_HEADER;
    layout = DibLayout{};
    layout.width = h.width;
    layout.height = h.height < 0 ? -h.height : h.height;
    layout.topDown = h.height < 0;
    layout.bitCount = h.bitCount;
    layout.stride = DibStride(h.width, h.bitCount);
    layout.xPelsPerMeter = h.xPelsPerMeter;
    layout.yPelsPerMeter = h.yPelsPerMeter;
    if (layout.stride * static_cast<uint64_t>(layout.height) > kMaxPixelBytes * 4)
        return PIXKIT_UNSUPPORTED_HEADER;
    // The masks follow a 40-byte header and sit at the same place inside the longer ones.
    const auto *masks = static_cast<const uint8_t *>(header) + sizeof h;
    const auto *after = static_cast<const uint8_t *>(header) + h.size;
    if (h.compression == PIXKIT_BI_BITFIELDS) {
        if (h.bitCount != 16 && h.bitCount != 32)
            return PIXKIT_UNSUPPORTED_KIND;
        layout.bitFields = true;
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = LoadLE32(masks + 4 * i);
    } else if (h.compression == PIXKIT_BI_RGB) {
        const uint32_t *defaults = h.bitCount == 16 ? kDefault16Masks : kDefault32Masks;
        std::copy(defaults, defaults + 3, layout.masks);
    } else {
        return PIXKIT_UNSUPPORTED_KIND;
    }
    if (h.bitCount <= 8) {
        const uint32_t full = 1u << h.bitCount;
        if (h.clrUsed > full)
            return PIXKIT_UNSUPPORTED_HEADER;
        layout.tableEntries = h.clrUsed != 0 ? h.clrUsed : full;
        layout.table = after;
    }
    return PIXKIT_OK;
}

void ConvertRowTo32(const DibLayout &layout, const uint8_t *row, int32_t count, uint8_t *dst)
{
    switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
        ConvertIndexed(layout, row, count, dst);
        return;
    case 24:
        for (int32_t x = 0; x < count; ++x, row += 3, dst += 4) {
            dst[0] = row[0];
            dst[1] = row[1];
            dst[2] = row[2];
            dst[3] = 255;
        }
        return;
    case 32:
        if (layout.IsPlain32()) {
            std::memcpy(dst, row, static_cast<size_t>(count) * 4);
            return;
        }
        [[fallthrough]];
    default:
        ConvertBitFields(layout, row, count, dst);
    }
}

bool DibBlocks::MakeHeader(int32_t width, int32_t height, int bitCount, uint32_t tableEntries, bool bitFields)
{
    const size_t extra = bitFields ? 12 : static_cast<size_t>(tableEntries) * 4;
    pixkitLocalFree(header_);
    header_ = pixkitLocalAlloc(sizeof(PixkitBitmapInfoHeader) + extra);
    if (header_ == nullptr)
        return false;
    std::memset(header_, 0, sizeof(PixkitBitmapInfoHeader) + extra);
    PixkitBitmapInfoHeader &h = *header();
    h.size = sizeof(PixkitBitmapInfoHeader);
    h.width = width;
    h.height = height;
    h.planes = 1;
    h.bitCount = static_cast<uint16_t>(bitCount);
    h.compression = bitFields ? PIXKIT_BI_BITFIELDS : PIXKIT_BI_RGB;
    h.sizeImage = static_cast<uint32_t>(DibStride(width, bitCount) * static_cast<uint64_t>(height < 0 ? -int64_t{height} : height));
    h.clrUsed = bitFields ? 0 : tableEntries;
    return true;
}

bool DibBlocks::MakePixels(uint64_t bytes)
{
    pixkitLocalFree(pixels_);
    pixels_ = bytes <= kMaxPixelBytes ? pixkitLocalAlloc(static_cast<size_t>(bytes)) : nullptr;
    return pixels_ != nullptr;
}

void DibBlocks::Hand(void **header, void **pixels)
{
    *header = header_;
    *pixels = pixels_;
    header_ = pixels_ = nullptr;
}

void DibBlocks::Release()
{
    pixkitLocalFree(header_);
    pixkitLocalFree(pixels_);
    header_ = pixels_ = nullptr;
}

int32_t DotsPerInch(int32_t pixelsPerMeter)
{
    return static_cast<int32_t>(pixelsPerMeter * 0.0254 + 0.41);
}

void SetTypeResolution(PixkitImageType &type, int32_t xPelsPerMeter, int32_t yPelsPerMeter)
{
    if (xPelsPerMeter != 0 && yPelsPerMeter != 0) {
        type.xDpi = DotsPerInch(xPelsPerMeter);
        type.yDpi = DotsPerInch(yPelsPerMeter);
    } else {
        type.xDpi = type.yDpi = 0;
    }
}

} // namespace pixkit
