// The replaceable pixel writers through which the channel disc and the colour disc "through
// the writer" put their pixels. The stroke engine installs its per-pixel pipeline here while
// a stroke is drawn; otherwise they are the exact weighted sets of the images. Both are one
// process-wide pair, used from the user-interface thread only, and set together.
#pragma once

#include "raster/TChannel.h"
#include "raster/TMTC.h"

namespace pv {

using ChannelWriter = void (*)(TChannel &channel, int32_t x, int32_t y, uint8_t weight, uint8_t value);
using ColourWriter = void (*)(TMTC &image, int32_t x, int32_t y, uint8_t weight, uint32_t colour);

// The initial writers: the exact weighted sets (nothing outside the image).
void ExactChannelWriter(TChannel &channel, int32_t x, int32_t y, uint8_t weight, uint8_t value);
void ExactColourWriter(TMTC &image, int32_t x, int32_t y, uint8_t weight, uint32_t colour);

struct SPixelWriters {
    ChannelWriter channel = ExactChannelWriter;
    ColourWriter colour = ExactColourWriter;
};

// Installs both writers; a null writer stands for the exact one, so a caller that has no
// writer of its own can never leave the discs calling through a null pointer.
void SetPixelWriters(ChannelWriter channel, ColourWriter colour);
const SPixelWriters &CurrentPixelWriters();

} // namespace pv
