// The non-empty region list of a colour block image: at most four edge rectangles that
// together cover every tile that is allocated or uniform with a non-zero alpha, so that
// building the view only visits those areas.
#pragma once

#include "raster/ImageRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pv {

class BlockRegionList {
public:
    static constexpr size_t kMaxRects = 4;

    void Reset(int32_t width, int32_t height);
    void Clear() { rects_.clear(); }
    // Clips the rectangle to the image and takes it in: appended while there is room and it
    // meets no rectangle, else united with the rectangle it meets or, failing that, with the
    // nearest one (ties: the smaller); then rectangles that meet are united until none do.
    void Add(SEdgeRect rect);
    const std::vector<SEdgeRect> &Rects() const { return rects_; }

    // dx² + dy² of the gaps between two rectangles; 0 when they overlap or touch.
    static int64_t GapDistance(const SEdgeRect &a, const SEdgeRect &b);

private:
    int32_t width_ = 0, height_ = 0;
    std::vector<SEdgeRect> rects_;
};

} // namespace pv
