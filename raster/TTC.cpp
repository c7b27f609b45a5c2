// TTC lifecycle and its window-colour helpers.
#include "raster/TTC.h"

#include "raster/PixelMath.h"
#include "platform/Log.h"

#include <algorithm>

namespace pv {

TTC::TTC(bool ownDeviceContext) : ownDeviceContext_(ownDeviceContext) {}

TTC::TTC(int32_t width, int32_t height, bool ownDeviceContext) : ownDeviceContext_(ownDeviceContext)
{
    Resize(width, height);
}

TTC::~TTC()
{
    Clear();
}

void TTC::Init()
{
    TMTC::Init();
    ownDeviceContext_ = true;
}

bool TTC::Resize(int32_t width, int32_t height)
{
    if (width == width_ && height == height_ && (IsValid() || (width == 0 && height == 0)))
        return true;
    Clear();
    const int64_t bytes = CheckedImageBytes(width, height, 4);
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (bytes < 0) {
        LogText("TTC::Resize: refused size\n");
        return false;
    }
    return Allocate(width, height, true, "TTC::Resize: caught an exception!\n");
}

void TTC::FillWindowsColour(uint32_t colorRef)
{
    Fill(SwapRedBlue(colorRef) & 0x00FFFFFFu);
}

bool TTC::FrameRect(SExtent rect, uint32_t colorRef)
{
    if (rect.width <= 0 || rect.height <= 0)
        return false;
    const uint32_t colour = SwapRedBlue(colorRef) & 0x00FFFFFFu;
    bool any = FillRect({rect.x, rect.y, rect.width, 1}, colour);
    any |= FillRect({rect.x, rect.y + rect.height - 1, rect.width, 1}, colour);
    any |= FillRect({rect.x, rect.y, 1, rect.height}, colour);
    any |= FillRect({rect.x + rect.width - 1, rect.y, 1, rect.height}, colour);
    return any;
}

} // namespace pv
