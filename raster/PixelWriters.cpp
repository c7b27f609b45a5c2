// The process-wide pixel writer pair and its exact defaults.
#include "raster/PixelWriters.h"

namespace pv {

namespace {

SPixelWriters &Writers()
{
    static SPixelWriters writers;
    return writers;
}

} // namespace

void ExactChannelWriter(TChannel &channel, int32_t x, int32_t y, uint8_t weight, uint8_t value)
{
    channel.SetWeighted(x, y, value, weight);
}

void ExactColourWriter(TMTC &image, int32_t x, int32_t y, uint8_t weight, uint32_t colour)
{
    image.SetWeighted(x, y, weight, colour);
}

void SetPixelWriters(ChannelWriter channel, ColourWriter colour)
{
    Writers().channel = channel ? channel : ExactChannelWriter;
    Writers().colour = colour ? colour : ExactColourWriter;
}

const SPixelWriters &CurrentPixelWriters()
{
    return Writers();
}

} // namespace pv
