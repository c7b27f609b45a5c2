// The mask list and its combinations. Every combination builds the new mask completely
// before it replaces the old one, so a failure leaves the list as it was.
#include "selection/CMaskMngr.h"

#include "document/CLayerData.h"
#include "platform/Log.h"
#include "raster/CScaleImage.h"
#include "raster/MixTables.h"

#include <algorithm>

namespace pv {
namespace {

SEdgeRect Union(const SEdgeRect &a, const SEdgeRect &b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool Inside(const SEdgeRect &inner, const SEdgeRect &outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

// The value of a region laid at origin, at paper (x, y); 0 outside it.
uint8_t RegionAt(const TChannel &region, SPoint origin, int32_t x, int32_t y)
{
    const int32_t rx = x - origin.x, ry = y - origin.y;
    return region.Contains(rx, ry) ? region.At(rx, ry) : 0;
}

// Sets every value of a new mask covering rect from f(paper x, paper y).
template <class F> bool Fill(CMaskData &mask, F &&f)
{
    const SEdgeRect r = mask.Rect();
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x)
            if (const uint8_t v = f(x, y); v != 0 && !mask.Image()->WriteValue(x + mask.ox, y + mask.oy, v))
                return false;
    mask.Image()->Compact();
    return true;
}

} // namespace

CMaskMngr::CMaskMngr(int32_t paperWidth, int32_t paperHeight) : paperWidth_(paperWidth), paperHeight_(paperHeight)
{
    InsertNew(0);
    current_ = 0;
}

void CMaskMngr::SetPaperSize(int32_t width, int32_t height)
{
    paperWidth_ = width;
    paperHeight_ = height;
}

void CMaskMngr::Renumber()
{
    for (size_t i = 0; i < masks_.size(); ++i)
        masks_[i]->index = int32_t(i);
}

bool CMaskMngr::Select(int32_t i)
{
    if (i == Count())
        InsertNew(i);
    if (!At(i))
        return false;
    current_ = i;
    return true;
}

int32_t CMaskMngr::InsertNew(int32_t index)
{
    auto mask = std::make_unique<CMaskData>();
    mask->name = "ﾏｽｸ" + std::to_string(++nameCounter_);
    return Insert(index < 0 ? current_ : index, std::move(mask));
}

int32_t CMaskMngr::Insert(int32_t index, std::unique_ptr<CMaskData> mask)
{
    const int32_t at = std::clamp(index, 0, Count());
    masks_.insert(masks_.begin() + at, std::move(mask));
    Renumber();
    return at;
}

bool CMaskMngr::Duplicate(int32_t index)
{
    const CMaskData *mask = At(index);
    if (!mask)
        return false;
    auto copy = mask->Copy();
    if (!copy)
        return false;
    Insert(index + 1, std::move(copy));
    return true;
}

bool CMaskMngr::Move(int32_t from, int32_t to)
{
    if (!At(from) || !At(to) || from == to)
        return false;
    auto mask = std::move(masks_[size_t(from)]);
    masks_.erase(masks_.begin() + from);
    masks_.insert(masks_.begin() + to, std::move(mask));
    Renumber();
    return true;
}

std::unique_ptr<CMaskData> CMaskMngr::Remove(int32_t index)
{
    if (!At(index) || Count() == 1)
        return nullptr; // the list always keeps one mask
    auto mask = std::move(masks_[size_t(index)]);
    masks_.erase(masks_.begin() + index);
    current_ = std::min(current_, Count() - 1);
    Renumber();
    return mask;
}

std::unique_ptr<CMaskData> CMaskMngr::Replace(int32_t index, std::unique_ptr<CMaskData> mask)
{
    if (!At(index) || !mask)
        return nullptr;
    std::swap(masks_[size_t(index)], mask);
    Renumber();
    return mask;
}

std::unique_ptr<CMaskData> CMaskMngr::NewMask(SEdgeRect rect) const
{
    auto mask = std::make_unique<CMaskData>();
    if (!mask->CreateImage(rect.right - rect.left, rect.bottom - rect.top))
        return nullptr;
    mask->ox = -rect.left;
    mask->oy = -rect.top;
    return mask;
}

std::unique_ptr<CMaskData> CMaskMngr::Install(int32_t index, std::unique_ptr<CMaskData> mask)
{
    if (!mask)
        return nullptr;
    mask->name = At(index)->name;
    mask->UpdateThumbnail();
    return Replace(index, std::move(mask));
}

std::unique_ptr<CMaskData> CMaskMngr::CombineRegion(int32_t a, const TChannel &region, SPoint origin, MaskMode mode)
{
    const CMaskData *old = At(a);
    if (!old || !region.IsValid())
        return nullptr;
    const SEdgeRect regionRect{origin.x, origin.y, origin.x + region.Width(), origin.y + region.Height()};
    const bool present = old->IsPresent();
    std::unique_ptr<CMaskData> mask;
    bool ok = false;
    if (mode == MaskMode::Replace || (mode == MaskMode::Add && !old->Image())) {
        mask = NewMask(regionRect);
        ok = mask && Fill(*mask, [&](int32_t x, int32_t y) { return RegionAt(region, origin, x, y); });
    } else if (mode == MaskMode::Add) {
        mask = NewMask(Union(old->Rect(), regionRect));
        ok = mask && Fill(*mask, [&](int32_t x, int32_t y) {
            return std::max(RegionAt(region, origin, x, y), old->ValueAt(x, y));
        });
    } else if (mode == MaskMode::Subtract) {
        if (!present)
            return nullptr;
        // min(old, 255 − region), computed into the new mask; the old one is never touched.
        mask = NewMask(old->Rect());
        ok = mask && Fill(*mask, [&](int32_t x, int32_t y) {
            return std::min<uint8_t>(old->ValueAt(x, y), uint8_t(255 - RegionAt(region, origin, x, y)));
        });
    } else {
        if (!present)
            return nullptr;
        const uint8_t *t = ProductTable();
        mask = NewMask(Union(old->Rect(), regionRect));
        ok = mask && Fill(*mask, [&](int32_t x, int32_t y) {
            return t[old->ValueAt(x, y) * 256 + RegionAt(region, origin, x, y)];
        });
    }
    if (!ok)
        return nullptr;
    auto replaced = Install(a, std::move(mask));
    if (mode == MaskMode::Add)
        CropToPaper(a); // the uncropped intermediate goes; undo keeps the mask from before
    return replaced;
}

std::unique_ptr<CMaskData> CMaskMngr::CombineMasks(int32_t a, int32_t b, MaskMode mode)
{
    const CMaskData *source = At(b);
    const CMaskData *target = At(a);
    if (!source || !target || !source->IsPresent())
        return nullptr;
    if (mode != MaskMode::Replace && target->IsPresent()) {
        TChannel region(source->Image()->Width(), source->Image()->Height());
        if (!region.IsValid() || !source->Image()->ReadInto(region, {0, 0}, {0, 0, region.Width(), region.Height()}))
            return nullptr;
        return CombineRegion(a, region, {-source->ox, -source->oy}, mode);
    }
    if (mode == MaskMode::Subtract || mode == MaskMode::Intersect)
        return nullptr; // nothing to take away from or to share with an empty mask
    return Install(a, source->Copy());
}

std::unique_ptr<CMaskData> CMaskMngr::ExtendToPaper(int32_t index)
{
    const CMaskData *old = At(index);
    if (!old)
        return nullptr;
    const SEdgeRect paper{0, 0, paperWidth_, paperHeight_};
    if (old->Image() && Inside(paper, old->Rect()))
        return nullptr;
    auto mask = NewMask(old->Image() ? Union(old->Rect(), paper) : paper);
    if (!mask || !Fill(*mask, [&](int32_t x, int32_t y) { return old->ValueAt(x, y); })) {
        LogText("makeExtendMask: exception!\n");
        return nullptr;
    }
    return Install(index, std::move(mask));
}

std::unique_ptr<CMaskData> CMaskMngr::Invert(int32_t index)
{
    if (!At(index))
        return nullptr;
    std::unique_ptr<CMaskData> original = ExtendToPaper(index);
    CMaskData &mask = *At(index);
    if (!mask.Image())
        return original;
    if (!original)
        original = mask.Copy();
    if (!original)
        return nullptr;
    mask.Image()->Xor(0xFF);
    mask.Image()->Compact();
    mask.UpdateThumbnail();
    return original;
}

std::unique_ptr<CMaskData> CMaskMngr::CropToPaper(int32_t index)
{
    const CMaskData *old = At(index);
    const SEdgeRect paper{0, 0, paperWidth_, paperHeight_};
    if (!old || !old->IsPresent() || Inside(old->Rect(), paper))
        return nullptr;
    SEdgeRect keep = old->Rect();
    if (!IntersectEdge(keep, paper))
        keep = paper; // no overlap: a paper-size mask of 0
    auto mask = NewMask(keep);
    if (!mask || !Fill(*mask, [&](int32_t x, int32_t y) { return old->ValueAt(x, y); }))
        return nullptr;
    return Install(index, std::move(mask));
}

std::unique_ptr<CMaskData> CMaskMngr::Inflate(int32_t index, int n, bool grow)
{
    CMaskData *old = At(index);
    if (!old || !old->Image() || n < 1)
        return nullptr;
    std::unique_ptr<CMaskData> current = old->Copy();
    if (!current)
        return nullptr;
    for (int step = 0; step < n; ++step) {
        // Grow the image on every side its content touches, so the step can reach outward.
        SEdgeRect content;
        if (!current->Image()->NonZeroBox(content))
            break;
        const CBlockVCH &image = *current->Image();
        SEdgeRect r = current->Rect();
        if (content.left == 0) --r.left;
        if (content.top == 0) --r.top;
        if (content.right == image.Width()) ++r.right;
        if (content.bottom == image.Height()) ++r.bottom;
        auto next = NewMask(r);
        if (!next)
            return nullptr;
        const CMaskData &from = *current;
        const auto pick = [grow](uint8_t a, uint8_t b) { return grow ? std::max(a, b) : std::min(a, b); };
        const int32_t w = next->Image()->Width(), h = next->Image()->Height();
        // Reads clamped at the edges of the grown image, whose new border reads 0.
        auto valueIn = [&](int32_t ix, int32_t iy) {
            ix = std::clamp(ix, 0, w - 1);
            iy = std::clamp(iy, 0, h - 1);
            return from.ValueAt(ix - next->ox, iy - next->oy);
        };
        for (int32_t iy = 0; iy < h; ++iy)
            for (int32_t ix = 0; ix < w; ++ix) {
                uint8_t v = valueIn(ix, iy);
                for (int32_t j = -1; j <= 1; ++j)
                    for (int32_t i = -1; i <= 1; ++i)
                        v = pick(v, valueIn(ix + i, iy + j));
                if (v != 0 && !next->Image()->WriteValue(ix, iy, v))
                    return nullptr;
            }
        next->Image()->Compact();
        current = std::move(next);
    }
    return Install(index, std::move(current));
}

std::unique_ptr<CMaskData> CMaskMngr::SelectAll(const CLayerData &layer)
{
    if (!layer.Image())
        return nullptr;
    TChannel all(layer.Image()->Width(), layer.Image()->Height());
    if (!all.IsValid())
        return nullptr;
    all.Fill(255);
    return CombineRegion(current_, all, {-layer.offsetX, -layer.offsetY}, MaskMode::Replace);
}

std::unique_ptr<CMaskData> CMaskMngr::Deselect()
{
    return Install(current_, std::make_unique<CMaskData>());
}

bool CMaskMngr::MoveBy(int32_t dx, int32_t dy)
{
    CMaskData *mask = Current();
    if (!mask || !mask->IsPresent() || (dx == 0 && dy == 0))
        return false;
    mask->ox -= dx;
    mask->oy -= dy;
    return true;
}

std::unique_ptr<CMaskMngr> CMaskMngr::ScaledTo(int32_t width, int32_t height, bool smooth) const
{
    if (paperWidth_ <= 0 || paperHeight_ <= 0 || width <= 0 || height <= 0)
        return nullptr;
    const int64_t rx = FixedQuotient(width, paperWidth_), ry = FixedQuotient(height, paperHeight_);
    auto scaled = std::make_unique<CMaskMngr>(width, height);
    scaled->masks_.clear();
    for (const auto &mask : masks_) {
        auto copy = std::make_unique<CMaskData>();
        copy->name = mask->name;
        const CBlockVCH *image = mask->Image();
        const int64_t w = image ? (int64_t(image->Width()) * rx) >> 16 : 0;
        const int64_t h = image ? (int64_t(image->Height()) * ry) >> 16 : 0;
        if (mask->IsPresent() && w > 0 && h > 0) {
            if (w > kMaxImageSide || h > kMaxImageSide || !copy->CreateImage(int32_t(w), int32_t(h))) {
                LogText("makeZoomMask: Exception!\n");
                return nullptr;
            }
            copy->ox = int32_t((int64_t(mask->ox) * rx) >> 16);
            copy->oy = int32_t((int64_t(mask->oy) * ry) >> 16);
            CBlockVCH &dest = *copy->Image();
            if (smooth) {
                CScaleMaskImage(*image, dest).Resample({0, 0, image->Width(), image->Height()}, {0, 0, dest.Width(), dest.Height()});
            } else {
                for (int32_t y = 0; y < dest.Height(); ++y)
                    for (int32_t x = 0; x < dest.Width(); ++x)
                        if (const uint8_t v = image->Value(int32_t(int64_t(x) * image->Width() / w),
                                                           int32_t(int64_t(y) * image->Height() / h)))
                            dest.WriteValue(x, y, v);
            }
            dest.Compact();
        }
        copy->UpdateThumbnail();
        scaled->masks_.push_back(std::move(copy));
    }
    scaled->Renumber();
    scaled->current_ = current_;
    scaled->nameCounter_ = nameCounter_;
    return scaled;
}

int64_t CMaskMngr::MemoryUse() const
{
    int64_t sum = 0;
    for (const auto &mask : masks_)
        sum += mask->Image() ? mask->Image()->MemoryUse() : 0;
    return sum;
}

} // namespace pv
