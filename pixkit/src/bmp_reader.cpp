// BMP reading: the file header, a core (12-byte) or info (40 bytes and longer) header, the
// colour table or masks and the pixel rows. The row stride always comes from width and bit
// count and every part must lie inside the file, so no header field can make a read run past
// the data; the colour table keeps at most 2^bit count entries.
#include "pixkit.h"

#include "diagnostics.h"
#include "dib.h"
#include "file_util.h"
#include "reader_exports.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace pixkit {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

struct BmpInfo {
    PixkitBitmapInfoHeader header{};
    uint32_t headerSize = 0;
    uint32_t pixelOffset = 0;
    uint64_t stride = 0;
    uint64_t imageBytes = 0;
    uint32_t masks[3] = {};
    std::vector<uint8_t> table;     // 4 bytes an entry: blue, green, red, 0
};

// Reads and checks everything up to the pixels; the file is left at the first pixel row.
int ReadBmpInfo(InputFile &file, const char *name, BmpInfo &info)
{
    uint8_t fileHeader[kFileHeaderSize];
    if (!file.Read(fileHeader, sizeof fileHeader))
        return PIXKIT_FAILED;
    const uint16_t magic = LoadLE16(fileHeader);
    if (magic == 0) {
        Debug("Windows 1.0 DDB is NOT supported!\n    file = %s\n", name);
        return PIXKIT_FAILED;
    }
    if (magic != ('B' | ('M' << 8)))
        return PIXKIT_FAILED;
    uint64_t fileSize = LoadLE32(fileHeader + 2);
    info.pixelOffset = LoadLE32(fileHeader + 10);

    uint8_t raw[kInfoHeaderSize] = {};
    if (!file.Read(raw, 4))
        return PIXKIT_FAILED;
    info.headerSize = LoadLE32(raw);
    PixkitBitmapInfoHeader &h = info.header;
    uint32_t entrySize = 4;
    if (info.headerSize == kCoreHeaderSize) {
        if (!file.Read(raw + 4, kCoreHeaderSize - 4))
            return PIXKIT_FAILED;
        h.width = LoadLE16(raw + 4);
        h.height = LoadLE16(raw + 6);
        h.planes = LoadLE16(raw + 8);
        h.bitCount = LoadLE16(raw + 10);
        entrySize = 3;
    } else if (info.headerSize >= kInfoHeaderSize && info.headerSize <= file.length()) {
        if (!file.Read(raw + 4, kInfoHeaderSize - 4))
            return PIXKIT_FAILED;
        std::memcpy(&h, raw, sizeof h);
    } else {
        return PIXKIT_FAILED;
    }
    h.size = kInfoHeaderSize;
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN || h.width > kMaxSide ||
        std::abs(h.height) > kMaxSide || !IsSupportedBitCount(h.bitCount))
        return PIXKIT_FAILED;
    const bool bitFields = h.compression == PIXKIT_BI_BITFIELDS;
    if (h.compression != PIXKIT_BI_RGB && !(bitFields && (h.bitCount == 16 || h.bitCount == 32)))
        return PIXKIT_FAILED;
    info.stride = DibStride(h.width, h.bitCount);
    info.imageBytes = info.stride * static_cast<uint64_t>(std::abs(h.height));
    if (info.imageBytes > kMaxPixelBytes)
        return PIXKIT_FAILED;

    if (fileSize > file.length()) {
        Debug("BAD BITMAPFILEHEADER.bfSize!\n  Ignore it and calc image size.\n"
              "  bfSize=0x%08x, biSizeImage=0x%08x, length=0x%08x\n  bmp = %s\n",
              static_cast<unsigned>(fileSize), h.sizeImage, static_cast<unsigned>(file.length()), name);
        fileSize = file.length();
        h.sizeImage = 0;
    }
    if (fileSize < kFileHeaderSize + info.headerSize + info.imageBytes) {
        Debug("BAD BITMAPFILEHEADER.bfSize!\n  Ignore it and reset bfSize.\n"
              "  bfSize=0x%08x, biSizeImage=0x%08x, length=0x%08x\n  bmp = %s\n  Failed to load BMP!\n",
              static_cast<unsigned>(fileSize), h.sizeImage, static_cast<unsigned>(file.length()), name);
        return PIXKIT_FAILED;
    }

    // Masks: after a 40-byte header, or inside a longer one at the same place.
    uint64_t tableStart = kFileHeaderSize + info.headerSize;
    if (bitFields) {
        uint8_t masks[12];
        if (!file.Seek(kFileHeaderSize + kInfoHeaderSize) || !file.Read(masks, sizeof masks))
            return PIXKIT_FAILED;
        for (int i = 0; i < 3; ++i)
            info.masks[i] = LoadLE32(masks + 4 * i);
        if (info.headerSize == kInfoHeaderSize)
            tableStart += sizeof masks;
    }

    const uint32_t full = h.bitCount <= 8 ? 1u << h.bitCount : 0;
    const uint64_t stated = h.clrUsed != 0 ? h.clrUsed : full;
    const uint64_t tableEnd = tableStart + stated * entrySize;
    if (tableEnd > file.length())
        return PIXKIT_FAILED;
    if (h.bitCount <= 8) {
        const uint32_t kept = static_cast<uint32_t>(std::min<uint64_t>(stated, full));
        std::vector<uint8_t> raw(static_cast<size_t>(kept) * entrySize);
        if (!file.Seek(tableStart) || !file.Read(raw.data(), raw.size()))
            return PIXKIT_FAILED;
        info.table.assign(static_cast<size_t>(kept) * 4, 0);
        for (uint32_t i = 0; i < kept; ++i)
            std::memcpy(&info.table[i * 4], &raw[i * entrySize], 3);
        h.clrUsed = kept;
        h.clrImportant = std::min(h.clrImportant, kept);
    } else {
        h.clrUsed = h.clrImportant = 0;
    }
    if (tableEnd != info.pixelOffset) {
        if (h.bitCount != 16 && h.bitCount != 32)
            return PIXKIT_FAILED;
        Debug("BMP::readInfo: ﾋﾞｯﾄﾏｯﾌﾟ(16bpp/32bpp)のﾊﾟﾚｯﾄの終端がｲﾒｰｼﾞの先頭に一致しませんでした!\n");
    }
    if (info.pixelOffset + info.imageBytes > file.length() || !file.Seek(info.pixelOffset))
        return PIXKIT_FAILED;
    h.sizeImage = static_cast<uint32_t>(info.imageBytes);
    return PIXKIT_OK;
}

int ReadBmp(const char *name, DibBlocks *blocks, PixkitImageType *type)
{
    InputFile file(name);
    if (!file.IsOpen())
        return PIXKIT_CANNOT_OPEN;
    BmpInfo info;
    if (const int result = ReadBmpInfo(file, name, info); result != PIXKIT_OK)
        return result;
    const PixkitBitmapInfoHeader &h = info.header;
    if (type != nullptr) {
        type->bitCount = h.bitCount;
        type->kind = 0;
        type->width = h.width;
        type->height = std::abs(h.height);
        SetTypeResolution(*type, h.xPelsPerMeter, h.yPelsPerMeter);
    }
    if (blocks == nullptr)
        return PIXKIT_OK;
    const bool bitFields = h.compression == PIXKIT_BI_BITFIELDS;
    if (!blocks->MakeHeader(h.width, h.height, h.bitCount, h.clrUsed, bitFields) ||
        !blocks->MakePixels(info.imageBytes))
        return PIXKIT_FAILED;
    *blocks->header() = h;
    if (bitFields)
        for (int i = 0; i < 3; ++i)
            StoreLE32(blocks->table() + 4 * i, info.masks[i]);
    else
        std::copy(info.table.begin(), info.table.end(), blocks->table());
    return file.Read(blocks->pixels(), static_cast<size_t>(info.imageBytes)) ? PIXKIT_OK : PIXKIT_FAILED;
}

} // namespace
} // namespace pixkit

using namespace pixkit;

extern "C" {

int bmpGetType(const char *fileName, PixkitImageType *type)
{
    return GetTypeExport([&](DibBlocks *blocks, PixkitImageType *t) { return ReadBmp(fileName, blocks, t); }, type);
}

int bmpGetImage(const char *fileName, void **header, void **pixels)
{
    return GetImageExport([&](DibBlocks *blocks, PixkitImageType *t) { return ReadBmp(fileName, blocks, t); },
                          header, pixels);
}

} // extern "C"
