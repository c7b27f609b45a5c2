// The region list's merge rule.
#include "raster/BlockRegionList.h"

#include <algorithm>
#include <cstddef>

namespace pv {
namespace {

SEdgeRect Union(const SEdgeRect &a, const SEdgeRect &b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

int64_t Area(const SEdgeRect &r)
{
    return int64_t(r.right - r.left) * (r.bottom - r.top);
}

} // namespace

void BlockRegionList::Reset(int32_t width, int32_t height)
{
    width_ = width;
    height_ = height;
    rects_.clear();
}

int64_t BlockRegionList::GapDistance(const SEdgeRect &a, const SEdgeRect &b)
{
    const int64_t dx = std::max<int64_t>({0, int64_t(b.left) - a.right, int64_t(a.left) - b.right});
    const int64_t dy = std::max<int64_t>({0, int64_t(b.top) - a.bottom, int64_t(a.top) - b.bottom});
    return dx * dx + dy * dy;
}

void BlockRegionList::Add(SEdgeRect rect)
{
    if (!IntersectEdge(rect, SEdgeRect{0, 0, width_, height_}))
        return;
    auto meets = std::find_if(rects_.begin(), rects_.end(), [&](const SEdgeRect &r) { return GapDistance(r, rect) == 0; });
    if (meets == rects_.end() && rects_.size() < kMaxRects) {
        rects_.push_back(rect);
        return;
    }
    if (meets == rects_.end())
        meets = std::min_element(rects_.begin(), rects_.end(), [&](const SEdgeRect &a, const SEdgeRect &b) {
            const int64_t da = GapDistance(a, rect), db = GapDistance(b, rect);
            return da != db ? da < db : Area(a) < Area(b);
        });
    *meets = Union(*meets, rect);
    for (bool united = true; united;) {
        united = false;
        for (size_t i = 0; i < rects_.size() && !united; ++i)
            for (size_t j = i + 1; j < rects_.size(); ++j)
                if (GapDistance(rects_[i], rects_[j]) == 0) {
                    rects_[i] = Union(rects_[i], rects_[j]);
                    rects_.erase(rects_.begin() + std::ptrdiff_t(j));
                    united = true;
                    break;
                }
    }
}

} // namespace pv
