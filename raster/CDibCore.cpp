// Lifecycle of the image family: allocation of the pixel block and the row-offset table.
#include "raster/CDibCore.h"

#include "platform/Log.h"

#include <cstdlib>

namespace pv {

int64_t CheckedImageBytes(int64_t width, int64_t height, int bytesPerPixel)
{
    if (width < 0 || height < 0 || width > kMaxImageSide || height > kMaxImageSide)
        return -1;
    return width * height * bytesPerPixel;
}

CDibCore::~CDibCore()
{
    FreeOwned();
}

void CDibCore::Init()
{
    width_ = 0;
    height_ = 0;
    pixels_ = nullptr;
    rowOffset_ = nullptr;
}

void CDibCore::Clear()
{
    FreeOwned();
}

void CDibCore::Release()
{
    Clear();
}

bool CDibCore::IsValid() const
{
    return pixels_ != nullptr && rowOffset_ != nullptr;
}

uint8_t *CDibCore::PixelAddress(int32_t x, int32_t y) const
{
    return Row(y) + ptrdiff_t(x) * BytesPerPixel();
}

void CDibCore::FreeOwned()
{
    FreePixels(pixels_);
    std::free(rowOffset_);
    Init();
}

bool CDibCore::BuildRowTable(int32_t height, int64_t rowBytes, bool bottomUp)
{
    auto *table = static_cast<ptrdiff_t *>(std::malloc(sizeof(ptrdiff_t) * (height > 0 ? height : 1)));
    if (table == nullptr)
        return false;
    for (int32_t y = 0; y < height; ++y)
        table[y] = static_cast<ptrdiff_t>(rowBytes * (bottomUp ? height - 1 - y : y));
    std::free(rowOffset_);
    rowOffset_ = table;
    return true;
}

bool CDibCore::Allocate(int32_t width, int32_t height, bool bottomUp, const char *failureText, uint8_t *kept)
{
    const int64_t rowBytes = int64_t(width) * BytesPerPixel();
    uint8_t *block = kept != nullptr ? kept : AllocatePixels(rowBytes * height);
    if (block == nullptr || !BuildRowTable(height, rowBytes, bottomUp)) {
        FreePixels(block);
        LogText(failureText);
        FreeOwned();
        return false;
    }
    Adopt(block, width, height);
    return true;
}

void CDibCore::Adopt(uint8_t *pixels, int32_t width, int32_t height)
{
    pixels_ = pixels;
    width_ = width;
    height_ = height;
}

void CDibCore::Present(uint8_t *pixels, const ptrdiff_t *rowOffsets, int32_t width, int32_t height)
{
    pixels_ = pixels;
    rowOffset_ = const_cast<ptrdiff_t *>(rowOffsets);
    width_ = width;
    height_ = height;
}

void CDibCore::Forget()
{
    Init();
}

uint8_t *CDibCore::AllocatePixels(int64_t bytes)
{
    if (bytes < 0)
        return nullptr;
    return static_cast<uint8_t *>(std::malloc(static_cast<size_t>(bytes > 0 ? bytes : 1)));
}

void CDibCore::FreePixels(uint8_t *pixels)
{
    std::free(pixels);
}

} // namespace pv
