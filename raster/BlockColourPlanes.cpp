// Byte planes of block colour images: file rows of one channel, 1-bit rows, the alpha plane.
#include "raster/CBlockVMTC.h"

#include <algorithm>
#include <vector>

namespace pv {

bool CBlockVMTC::WritePlaneRow(int32_t x, int32_t y, int32_t count, const uint8_t *bytes, int plane)
{
    if (!IsValid() || y < 0 || y >= Height() || plane < 0 || plane > 3 || count <= 0)
        return false;
    const int shift = plane * 8;
    const uint32_t keep = ~(0xFFu << shift);
    bool ok = true;
    for (int32_t i = std::max(0, -x); i < count && x + i < Width(); ++i) {
        uint32_t *p = PixelAddress(x + i, y);
        if (!p) {
            ok = false;
            continue;
        }
        *p = (*p & keep) | (uint32_t(bytes[i]) << shift);
    }
    RegionsStale();
    return ok;
}

bool CBlockVMTC::ReadPlaneRow(int32_t x, int32_t y, int32_t count, uint8_t *bytes, int plane) const
{
    if (!IsValid() || y < 0 || y >= Height() || plane < 0 || plane > 3 || count <= 0)
        return false;
    for (int32_t i = 0; i < count; ++i)
        bytes[i] = uint8_t(PixelOrDefault(x + i, y) >> (plane * 8));
    return true;
}

bool CBlockVMTC::WriteBitRow(int32_t x, int32_t y, int32_t count, const uint8_t *bits)
{
    if (!IsValid() || y < 0 || y >= Height() || count <= 0)
        return false;
    x &= ~7;
    bool ok = true;
    for (int32_t i = 0; i < count && x + i < Width(); ++i) {
        if (x + i < 0)
            continue;
        uint32_t *p = PixelAddress(x + i, y);
        if (!p) {
            ok = false;
            continue;
        }
        const bool set = (bits[i / 8] >> (7 - i % 8)) & 1;
        *p = (*p & 0xFF000000u) | (set ? 0 : 0x00FFFFFFu);
    }
    RegionsStale();
    return ok;
}

bool CBlockVMTC::ReadAlpha(SExtent rect, uint8_t *bytes) const
{
    if (!IsValid() || !ClipToImage(rect, Width(), Height()))
        return false;
    for (int32_t j = 0; j < rect.height; ++j)
        for (int32_t i = 0; i < rect.width; ++i)
            *bytes++ = uint8_t(Pixel(rect.x + i, rect.y + j) >> 24);
    return true;
}

bool CBlockVMTC::WriteAlpha(SExtent rect, const uint8_t *bytes)
{
    if (!IsValid() || !ClipToImage(rect, Width(), Height()))
        return false;
    bool ok = true;
    for (int32_t j = 0; j < rect.height; ++j)
        ok = WritePlaneRow(rect.x, rect.y + j, rect.width, bytes + int64_t(j) * rect.width, 3) && ok;
    Compact();
    return ok;
}

bool CBlockVMTC::SwapAlpha(uint8_t *bytes)
{
    if (!IsValid())
        return false;
    const int64_t size = int64_t(Width()) * Height();
    std::vector<uint8_t> old(static_cast<size_t>(size));
    if (!ReadAlpha({0, 0, Width(), Height()}, old.data()))
        return false;
    const bool ok = WriteAlpha({0, 0, Width(), Height()}, bytes);
    std::copy(old.begin(), old.end(), bytes);
    return ok;
}

} // namespace pv
