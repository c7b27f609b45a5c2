// One mask: its image, placement, values, thumbnail and its meetings with layers.
#include "selection/CMaskData.h"

#include "document/CLayerData.h"
#include "platform/Log.h"
#include "raster/MixTables.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace pv {
namespace {

std::atomic<int32_t> gNextMaskSerial{0};

// Calls f(maskX, maskY, layerX, layerY) over the paper area where the mask's image and the
// layer's image meet.
template <class F> bool ForEachSharedPixel(const CMaskData &mask, const CLayerData &layer, F &&f)
{
    if (!mask.Image() || !layer.Image())
        return false;
    SEdgeRect shared = mask.Rect();
    if (!IntersectEdge(shared, layer.ImageRectOnPaper()))
        return true;
    for (int32_t y = shared.top; y < shared.bottom; ++y)
        for (int32_t x = shared.left; x < shared.right; ++x)
            f(x + mask.ox, y + mask.oy, x + layer.offsetX, y + layer.offsetY);
    return true;
}

} // namespace

CMaskData::CMaskData(int32_t index) : index(index), serial(gNextMaskSerial++) {}

CMaskData::CMaskData(int32_t index, int32_t width, int32_t height) : CMaskData(index)
{
    CreateImage(width, height);
}

std::unique_ptr<CMaskData> CMaskData::Copy() const
{
    auto copy = std::make_unique<CMaskData>(index);
    copy->name = name;
    copy->ox = ox;
    copy->oy = oy;
    if (image_) {
        if (!copy->CreateImage(image_->Width(), image_->Height()) || !copy->image_->CopyAllTiles(*image_))
            return nullptr;
    }
    copy->UpdateThumbnail();
    return copy;
}

bool CMaskData::CreateImage(int32_t width, int32_t height)
{
    auto image = std::unique_ptr<CBlockVCH>(new (std::nothrow) CBlockVCH(width, height));
    if (!image || !image->IsValid()) {
        LogText("CMaskData::createMask: exception!\n");
        return false;
    }
    image_ = std::move(image);
    return true;
}

bool CMaskData::IsPresent() const
{
    SEdgeRect box;
    return image_ && image_->NonEmptyTileBox(box);
}

SEdgeRect CMaskData::Rect() const
{
    if (!image_)
        return {};
    return {-ox, -oy, image_->Width() - ox, image_->Height() - oy};
}

uint8_t CMaskData::ValueAt(int32_t x, int32_t y) const
{
    return image_ ? image_->ValueOrZero(x + ox, y + oy) : 0;
}

uint8_t CMaskData::CoverageAt(int32_t ix, int32_t iy, uint8_t coverage) const
{
    if (!image_)
        return 0;
    return ProductTable()[image_->ValueOrZero(ix, iy) * 256 + coverage];
}

bool CMaskData::FromLayerBrightness(const CLayerData &layer)
{
    if (!layer.Image() || !CreateImage(layer.Image()->Width(), layer.Image()->Height()))
        return false;
    ox = layer.offsetX;
    oy = layer.offsetY;
    name = "明度(" + layer.name + ")";
    const bool ok = image_->FromColour(*layer.Image(), true);
    UpdateThumbnail();
    return ok;
}

bool CMaskData::FromLayerTransparency(const CLayerData &layer)
{
    if (!layer.Image() || !CreateImage(layer.Image()->Width(), layer.Image()->Height()))
        return false;
    ox = layer.offsetX;
    oy = layer.offsetY;
    name = "ﾏｽｸ(" + layer.name + ")";
    const bool ok = image_->FromAlpha(*layer.Image());
    UpdateThumbnail();
    return ok;
}

bool CMaskData::WriteIntoLayerAlpha(CLayerData &layer) const
{
    if (!image_ || !layer.Image())
        return false;
    layer.SetAlphaOfWholeImage(0);
    CBlockVMTC &pixels = *layer.Image();
    return ForEachSharedPixel(*this, layer, [&](int32_t mx, int32_t my, int32_t lx, int32_t ly) {
        const uint8_t v = image_->Value(mx, my);
        if (v != 0)
            pixels.WritePixel(lx, ly, (pixels.Pixel(lx, ly) & 0x00FFFFFFu) | (uint32_t(v) << 24));
    });
}

bool CMaskData::MultiplyLayerAlpha(CLayerData &layer) const
{
    CBlockVMTC *pixels = layer.Image();
    const uint8_t *t = ProductTable();
    return ForEachSharedPixel(*this, layer, [&](int32_t mx, int32_t my, int32_t lx, int32_t ly) {
        const uint32_t p = pixels->Pixel(lx, ly), a = p >> 24, v = image_->Value(mx, my);
        if (v != 255 && a != 0)
            pixels->WritePixel(lx, ly, (p & 0x00FFFFFFu) | (uint32_t(t[a * 256 + v]) << 24));
    });
}

void CMaskData::UpdateThumbnail()
{
    if (!image_) {
        thumbnail_.Clear();
        return;
    }
    const int32_t w = image_->Width(), h = image_->Height(), longer = std::max(w, h);
    const int32_t tw = w >= h ? kThumbnailBox : std::max<int32_t>(1, int32_t(int64_t(w) * kThumbnailBox / longer));
    const int32_t th = h >= w ? kThumbnailBox : std::max<int32_t>(1, int32_t(int64_t(h) * kThumbnailBox / longer));
    if (thumbnail_.Width() != tw || thumbnail_.Height() != th) {
        if (!thumbnail_.Resize(tw, th))
            return;
        thumbnail_.Fill(0);
    }
    image_->ReduceInto(thumbnail_, {0, 0, tw, th}, {0, 0, w, h});
}

} // namespace pv
