// TChannel lifecycle, pixel access, fills and channel-to-channel copies.
#include "raster/TChannel.h"

#include "raster/MixTables.h"
#include "raster/PixelLoops.h"
#include "raster/PixelMath.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstring>

namespace pv {

TChannel::TChannel(int32_t width, int32_t height)
{
    Resize(width, height);
}

TChannel::~TChannel()
{
    Clear();
}

bool TChannel::Resize(int32_t width, int32_t height)
{
    Clear();
    const int64_t bytes = CheckedImageBytes(width, height, 1);
    if (bytes < 0) {
        LogText("TChannel::Resize: refused size\n");
        return false;
    }
    return bytes == 0 || Allocate(width, height, true, "TChannel::Resize: caught an exception!\n");
}

int64_t TChannel::ByteSize() const
{
    return int64_t(width_) * height_;
}

uint8_t TChannel::ClampedAt(int32_t x, int32_t y) const
{
    return At(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1));
}

bool TChannel::SetWeighted(int32_t x, int32_t y, uint8_t value, uint8_t weight)
{
    if (Contains(x, y))
        At(x, y) = static_cast<uint8_t>(ExactMix(value, At(x, y), weight));
    return Contains(x, y);
}

bool TChannel::SetWeightedByTable(int32_t x, int32_t y, uint8_t weight, uint8_t value)
{
    if (Contains(x, y))
        At(x, y) = TableMix(value, At(x, y), weight);
    return Contains(x, y);
}

void TChannel::Fill(uint8_t value)
{
    if (IsValid())
        std::memset(pixels_, value, static_cast<size_t>(ByteSize()));
}

bool TChannel::FillRect(SExtent rect, uint8_t value)
{
    if (!IsValid() || !ClipToImage(rect, width_, height_))
        return false;
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y)
        std::memset(Row(y) + rect.x, value, static_cast<size_t>(rect.width));
    return true;
}

bool TChannel::XorRect(SExtent rect, uint8_t value)
{
    return ForEachPixel<uint8_t>(*this, rect, [value](uint8_t *p) { *p ^= value; });
}

bool TChannel::Apply(SExtent rect, ChannelOp op, uint8_t value)
{
    return ForEachPixel<uint8_t>(*this, rect, [op, value](uint8_t *p) { op(p, value); });
}

bool CopyChannelRect(TChannel &dest, const TChannel &source, SPoint point, SExtent rect)
{
    return ForEachRowPair<uint8_t, uint8_t>(dest, source, point, rect,
                                            [](uint8_t *d, const uint8_t *s, int32_t width) {
                                                std::memmove(d, s, static_cast<size_t>(width));
                                            });
}

bool CombineChannel(TChannel &dest, const TChannel &source, SPoint point, SExtent rect, ChannelOp op)
{
    return ForEachPixelPair<uint8_t, uint8_t>(dest, source, point, rect,
                                              [op](uint8_t *d, const uint8_t *s) { op(d, *s); });
}

} // namespace pv
