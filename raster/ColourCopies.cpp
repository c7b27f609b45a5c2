// Colour copies, channel/colour conversions and the weighted draws.
#include "raster/ColourCopies.h"

#include "raster/PixelLoops.h"
#include "raster/PixelMath.h"

#include <cstring>

namespace pv {

bool CopyColourRect(TMTC &dest, const TMTC &source, SPoint point, SExtent rect)
{
    return ForEachRowPair<uint32_t, uint32_t>(dest, source, point, rect,
                                              [](uint32_t *d, const uint32_t *s, int32_t width) {
                                                  std::memmove(d, s, size_t(width) * 4);
                                              });
}

bool ChannelToColour(TMTC &dest, const TChannel &source, SPoint point, SExtent rect)
{
    return ForEachPixelPair<uint32_t, uint8_t>(dest, source, point, rect, [](uint32_t *d, const uint8_t *s) {
        *d = *s > 0 ? MakeColour(*s, *s, *s, 255) : 0u;
    });
}

bool ColourToChannel(TChannel &dest, const TMTC &source, SPoint point, SExtent rect, ColourToChannelOp op)
{
    return ForEachPixelPair<uint8_t, uint32_t>(dest, source, point, rect,
                                               [op](uint8_t *d, const uint32_t *s) { op(d, s); });
}

void StoreGrey(uint8_t *channelByte, const uint32_t *colourPixel)
{
    *channelByte = static_cast<uint8_t>(GreyOfColour(*colourPixel));
}

bool DrawWithWeight(const TMTC &source, TMTC &dest, SPoint point, uint8_t weight, SExtent rect)
{
    if (weight == 255)
        return CopyColourRect(dest, source, point, rect);
    if (weight == 0)
        return false;
    return ForEachPixelPair<uint32_t, uint32_t>(dest, source, point, rect, [weight](uint32_t *d, const uint32_t *s) {
        *d = ExactMixColour(*s, *d, weight);
    });
}

int64_t DrawWithWeightAndKey(TMTC &dest, const TMTC &source, SPoint point, uint8_t weight, uint32_t key)
{
    int64_t written = 0;
    const uint32_t keyColour = key & 0x00FFFFFFu;
    ForEachPixelPair<uint32_t, uint32_t>(dest, source, point, {0, 0, source.Width(), source.Height()},
                                         [&](uint32_t *d, const uint32_t *s) {
                                             if ((*s & 0x00FFFFFFu) == keyColour)
                                                 return;
                                             *d = ExactMixColour(*s, *d, weight);
                                             ++written;
                                         });
    return written;
}

} // namespace pv
