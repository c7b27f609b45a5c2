// Copies and conversions between images. Every one clips the source rectangle and the
// destination point together (ClipCopy) and returns false when nothing is left.
#pragma once

#include "raster/TChannel.h"
#include "raster/TMTC.h"

namespace pv {

using ColourToChannelOp = void (*)(uint8_t *channelByte, const uint32_t *colourPixel);

bool CopyColourRect(TMTC &dest, const TMTC &source, SPoint point, SExtent rect);

// A value v > 0 becomes (v, v, v, 255); 0 becomes transparent black.
bool ChannelToColour(TMTC &dest, const TChannel &source, SPoint point, SExtent rect);

// op(channel byte, colour pixel) per pixel.
bool ColourToChannel(TChannel &dest, const TMTC &source, SPoint point, SExtent rect, ColourToChannelOp op);
// The standard operator: stores the colour's grey value.
void StoreGrey(uint8_t *channelByte, const uint32_t *colourPixel);

// Weight 255 copies, 0 does nothing, otherwise the exact mix of each source colour into the
// destination pixel (destination alpha kept).
bool DrawWithWeight(const TMTC &source, TMTC &dest, SPoint point, uint8_t weight, SExtent rect);

// The whole source at point, mixed with weight; source pixels whose colour (low 24 bits)
// equals the key's are skipped. Returns the number of destination pixels written.
int64_t DrawWithWeightAndKey(TMTC &dest, const TMTC &source, SPoint point, uint8_t weight, uint32_t key);

} // namespace pv
