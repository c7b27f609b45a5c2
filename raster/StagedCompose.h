// Building a composite a block at a time in a small stage image. Laying a stack of layers
// straight onto a large destination reads and writes every destination pixel once per
// layer, and a tiled layer touches it in short rows a whole image row apart, which the
// processor cannot fetch ahead. The stage is small enough to stay in the processor's nearest
// caches while every layer is laid on it, so the destination is written once, in whole rows
// of the block.
#pragma once

#include <algorithm>

#include "raster/TMTC.h"

namespace pv {

// The stage's size: a whole number of 32-pixel tiles across and down, wide enough that each
// layer is read in long runs of adjacent tiles, small enough to stay in the cache.
constexpr int32_t kStageWidth = 256;
constexpr int32_t kStageHeight = 32;

// A composite of at least this many pixels is larger than the cache, so what it would leave
// there is gone before it is shown: its blocks are copied out with stores that bypass the
// cache, which need not first read every line they write. A smaller one stays cached for
// the display.
constexpr int64_t kStreamedPixels = 1 << 20;

// Copies count pixels with stores that bypass the cache where the destination's alignment
// allows. StreamingDone() orders those stores before anything that follows.
void StreamPixels(uint32_t *dest, const uint32_t *source, int32_t count);
void StreamingDone();

// Builds rectangle rect of dest (clipped to it) block by block on blocks aligned to the
// stage's size in dest coordinates: the stage is filled with background, then
// compose(stage, block) lays everything on the stage's pixels from (0, 0) that belongs to
// dest's rectangle block, and the block is copied to dest.
template <class ComposeBlock>
void ComposeThroughStage(TMTC &dest, SExtent rect, uint32_t background, ComposeBlock &&compose)
{
    if (!dest.IsValid() || !ClipToImage(rect, dest.Width(), dest.Height()))
        return;
    TMTC stage(kStageWidth, kStageHeight);
    if (!stage.IsValid())
        return;
    const bool stream = int64_t(rect.width) * rect.height >= kStreamedPixels;
    const int32_t right = rect.x + rect.width, bottom = rect.y + rect.height;
    for (int32_t top = rect.y; top < bottom;) {
        const int32_t blockBottom = std::min(bottom, (top / kStageHeight + 1) * kStageHeight);
        for (int32_t left = rect.x; left < right;) {
            const int32_t blockRight = std::min(right, (left / kStageWidth + 1) * kStageWidth);
            const SExtent block{left, top, blockRight - left, blockBottom - top};
            stage.FillRect({0, 0, block.width, block.height}, background);
            compose(stage, block);
            for (int32_t j = 0; j < block.height; ++j) {
                uint32_t *row = dest.RowPixels(top + j) + left;
                if (stream)
                    StreamPixels(row, stage.RowPixels(j), block.width);
                else
                    std::copy_n(stage.RowPixels(j), block.width, row);
            }
            left = blockRight;
        }
        top = blockBottom;
    }
    if (stream)
        StreamingDone();
}

} // namespace pv
