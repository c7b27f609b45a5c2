// bmpConv32: any supported DIB into top-down 32-bit pixels of the destination's size,
// cropped to the smaller of the two; destination pixels outside the source stay untouched.
#include "pixkit.h"

#include "dib.h"

#include <algorithm>

using namespace pixkit;

extern "C" int bmpConv32(const void *header, const void *pixels, int dstWidth, int dstHeight, void *dst32)
{
    DibLayout layout;
    if (const int result = DescribeDib(header, layout); result != PIXKIT_OK)
        return result;
    if (pixels == nullptr || dst32 == nullptr || dstWidth < 0 || dstHeight < 0)
        return PIXKIT_UNSUPPORTED_HEADER;
    const int32_t rows = std::min(layout.height, dstHeight);
    const int32_t columns = std::min(layout.width, dstWidth);
    auto *dst = static_cast<uint8_t *>(dst32);
    for (int32_t y = 0; y < rows; ++y)
        ConvertRowTo32(layout, layout.Row(pixels, y), columns,
                       dst + static_cast<uint64_t>(y) * static_cast<uint64_t>(dstWidth) * 4);
    return PIXKIT_OK;
}
