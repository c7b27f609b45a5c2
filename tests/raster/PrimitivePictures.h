// Helpers of the drawing-primitive tests: a rectangle of a channel, or of one colour byte,
// as rows of numbers, so that an expected picture reads as a table.
#pragma once

#include "raster/TChannel.h"
#include "raster/TMTC.h"

#include <vector>

namespace pv::test {

using Picture = std::vector<std::vector<int>>;

inline Picture ChannelPicture(const TChannel &channel, int x, int y, int width, int height)
{
    Picture rows(static_cast<size_t>(height), std::vector<int>(static_cast<size_t>(width)));
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            rows[size_t(j)][size_t(i)] = channel.At(x + i, y + j);
    return rows;
}

// shift 0 blue, 8 green, 16 red, 24 alpha.
inline Picture ColourBytePicture(const TMTC &image, int shift, int x, int y, int width, int height)
{
    Picture rows(static_cast<size_t>(height), std::vector<int>(static_cast<size_t>(width)));
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            rows[size_t(j)][size_t(i)] = int((image.At(x + i, y + j) >> shift) & 0xFF);
    return rows;
}

} // namespace pv::test
