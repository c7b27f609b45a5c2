// Rectangle conversion and the clipping rules of single-image operations and of copies.
// Sums are taken in 64 bits so that rectangles from untrusted records cannot overflow.
#include "raster/ImageRect.h"

#include <algorithm>

namespace pv {

namespace {

int32_t Saturate(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// One axis of the copy clipping: first against the source extent, then against the
// destination's, moving the point and the rectangle's origin together.
bool ClipCopyAxis(int32_t &p, int32_t &r, int32_t &size, int32_t sourceSize, int32_t destSize)
{
    if (r >= sourceSize)
        return false;
    int64_t e = int64_t(r) + size;
    if (e <= 0)
        return false;
    if (r < 0) {
        size = Saturate(e);
        p = Saturate(int64_t(p) - r);
        r = 0;
    }
    if (e > sourceSize)
        size = Saturate(size - (e - sourceSize));
    if (p >= destSize)
        return false;
    e = int64_t(p) + size;
    if (e <= 0)
        return false;
    if (p < 0) {
        size = Saturate(e);
        r = Saturate(int64_t(r) - p);
        p = 0;
    }
    if (e > destSize)
        size = Saturate(size - (e - destSize));
    return true;
}

} // namespace

SEdgeRect ToEdge(const SExtent &r)
{
    return {r.x, r.y, Saturate(int64_t(r.x) + r.width), Saturate(int64_t(r.y) + r.height)};
}

SExtent ToExtent(const SEdgeRect &r)
{
    return {r.left, r.top, Saturate(int64_t(r.right) - r.left), Saturate(int64_t(r.bottom) - r.top)};
}

bool IntersectEdge(SEdgeRect &a, const SEdgeRect &b)
{
    if (a.left < b.left)
        a.left = b.left;
    else if (a.left > b.right)
        return false;
    if (a.right > b.right)
        a.right = b.right;
    else if (a.right < b.left)
        return false;
    if (a.top < b.top)
        a.top = b.top;
    else if (a.top > b.bottom)
        return false;
    if (a.bottom > b.bottom)
        a.bottom = b.bottom;
    else if (a.bottom < b.top)
        return false;
    return a.left < a.right && a.top < a.bottom;
}

bool ClipToImage(SExtent &r, int32_t width, int32_t height)
{
    SEdgeRect e = ToEdge(r);
    if (!IntersectEdge(e, SEdgeRect{0, 0, width, height}))
        return false;
    r = ToExtent(e);
    return true;
}

bool ClipCopy(SPoint &p, SExtent &r, int32_t sw, int32_t sh, int32_t dw, int32_t dh)
{
    // The axes are independent; on each, the source extent cuts first, then the destination's.
    if (!ClipCopyAxis(p.x, r.x, r.width, sw, dw) || !ClipCopyAxis(p.y, r.y, r.height, sh, dh))
        return false;
    return r.width > 0 && r.height > 0;
}

} // namespace pv
