// The layer resampling operations.
#include "document/LayerResample.h"

#include "platform/Log.h"
#include "raster/CScaleImage.h"
#include "raster/MixTables.h"
#include "selection/CMaskData.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace pv {
namespace {

// A new layer with the old one's index and mode, an image of w x h, offsets, paper size and
// (all or only the name of) its attributes; null when it cannot be made.
std::unique_ptr<CLayerData> NewLayerLike(const CLayerData &layer, int32_t w, int32_t h, SPoint offset, PaperSize paper,
                                         bool allAttributes = true)
{
    auto made = std::unique_ptr<CLayerData>(new (std::nothrow) CLayerData(layer.index, false));
    if (!made || !made->CreateImage(w, h, layer.Mode()))
        return nullptr;
    if (allAttributes)
        made->CopyAttributes(layer);
    else
        made->name = layer.name;
    made->offsetX = offset.x;
    made->offsetY = offset.y;
    made->paperWidth = paper.width;
    made->paperHeight = paper.height;
    return made;
}

void Finish(CLayerData &layer)
{
    layer.Image()->Compact();
    layer.FitThumbnail(CLayerMngr::kThumbnailBox, CLayerMngr::kThumbnailBox);
    layer.UpdateThumbnail();
}

// The 8-bit-shifted product of two 16.16 values used by the rotation.
int64_t Mul8(int64_t a, int64_t b) { return (a >> 8) * (b >> 8); }

} // namespace

std::unique_ptr<CLayerData> ZoomLayer(PaperSize paper, const CLayerData &layer, int32_t width, int32_t height)
{
    const CBlockVMTC *image = layer.Image();
    if (!image || width <= 0 || height <= 0 || image->Width() == 0 || image->Height() == 0)
        return nullptr;
    const int32_t oy = int32_t(int64_t(height) * layer.offsetY / image->Height());
    const int32_t ox = int32_t(int64_t(width) * layer.offsetX / image->Width());
    auto zoomed = NewLayerLike(layer, ox + std::max(paper.width, width - ox), oy + std::max(paper.height, height - oy),
                               {ox, oy}, paper);
    if (!zoomed)
        return nullptr;
    CScaleLayerImage(*image, *zoomed->Image()).Resample({0, 0, image->Width(), image->Height()}, {0, 0, width, height});
    Finish(*zoomed);
    return zoomed;
}

std::unique_ptr<CLayerData> RotateLayer(PaperSize paper, const CLayerData &layer, double degrees)
{
    const CBlockVMTC *image = layer.Image();
    if (!image)
        return nullptr;
    const double radians = degrees * M_PI / 180.0;
    const int64_t c = int64_t(std::nearbyint(std::cos(radians) * 65536.0)), s = int64_t(std::nearbyint(std::sin(radians) * 65536.0));
    const int64_t halfW = int64_t(paper.width) * 65536 / 2, halfH = int64_t(paper.height) * 65536 / 2;
    const SEdgeRect r = layer.ImageRectOnPaper();
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (const auto &[px, py] : {std::pair{r.left, r.top}, {r.right, r.top}, {r.left, r.bottom}, {r.right, r.bottom}}) {
        const int64_t x = int64_t(px) * 65536 - halfW, y = int64_t(py) * 65536 - halfH;
        const int64_t rx = Mul8(c, x) - Mul8(s, y), ry = Mul8(s, x) + Mul8(c, y);
        minX = std::min(minX, rx), maxX = std::max(maxX, rx), minY = std::min(minY, ry), maxY = std::max(maxY, ry);
    }
    auto side = [](int64_t half, int64_t lo, int64_t hi, int32_t paperSide, int32_t &offset) {
        int64_t size;
        if (half - std::llabs(lo) > 0) {
            size = std::max<int64_t>((half + hi) / 65536, paperSide);
            offset = 0;
        } else {
            size = std::max<int64_t>((hi - lo) / 65536, paperSide);
            offset = int32_t((-lo - half) / 65536);
        }
        return int32_t(std::max<int64_t>(int64_t(paperSide) + offset, size));
    };
    int32_t offX = 0, offY = 0;
    const int32_t w = side(halfW, minX, maxX, paper.width, offX), h = side(halfH, minY, maxY, paper.height, offY);
    if (w > kMaxImageSide || h > kMaxImageSide)
        return nullptr;
    auto rotated = NewLayerLike(layer, w, h, {offX, offY}, paper);
    if (!rotated)
        return nullptr;
    // Paper centre inside the new image (Cn) and inside the old one (Co), 16.16.
    const int64_t cnX = int64_t(offX) * 65536 + halfW, cnY = int64_t(offY) * 65536 + halfH;
    const int64_t coX = int64_t(layer.offsetX) * 65536 + halfW, coY = int64_t(layer.offsetY) * 65536 + halfH;
    CBlockVMTC &dest = *rotated->Image();
    bool ok = true;
    for (int32_t py = 0; py < h; ++py)
        for (int32_t px = 0; px < w; ++px) {
            const int64_t vx = int64_t(px) * 65536 - cnX + 0x8000, vy = int64_t(py) * 65536 - cnY + 0x8000;
            const int64_t sx = Mul8(c, vx) + Mul8(s, vy) + coX - 0x8000, sy = -Mul8(s, vx) + Mul8(c, vy) + coY - 0x8000;
            const int64_t fx = sx >> 16, fy = sy >> 16;
            const int64_t wx = 0x10000 - (sx & 0xFFFF), wy = 0x10000 - (sy & 0xFFFF);
            const int64_t w00 = (wx * wy) >> 16, w10 = ((0x10000 - wx) * wy) >> 16, w01 = (wx * (0x10000 - wy)) >> 16;
            const int64_t w11 = 0x10000 - w00 - w10 - w01;
            const uint32_t p00 = image->PixelOrDefault(int32_t(fx), int32_t(fy)), p10 = image->PixelOrDefault(int32_t(fx + 1), int32_t(fy));
            const uint32_t p01 = image->PixelOrDefault(int32_t(fx), int32_t(fy + 1)), p11 = image->PixelOrDefault(int32_t(fx + 1), int32_t(fy + 1));
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int64_t v = w00 * ((p00 >> shift) & 0xFF) + w10 * ((p10 >> shift) & 0xFF) +
                                  w01 * ((p01 >> shift) & 0xFF) + w11 * ((p11 >> shift) & 0xFF);
                out |= uint32_t(std::clamp<int64_t>(v, 0, 0xFF0000) >> 16) << shift;
            }
            if (out != CBlockVMTC::kDefaultColour || dest.Pixel(px, py) != out)
                ok = dest.WritePixel(px, py, out) && ok;
        }
    if (!ok)
        return nullptr;
    Finish(*rotated);
    return rotated;
}

std::unique_ptr<CLayerData> RotateLayer90(PaperSize paper, const CLayerData &layer, bool clockwise)
{
    const CBlockVMTC *image = layer.Image();
    if (!image)
        return nullptr;
    const int32_t W = paper.width, H = paper.height, iw = image->Width(), ih = image->Height();
    const SEdgeRect R = layer.ImageRectOnPaper();
    int32_t X = clockwise ? R.bottom - H : layer.offsetY;
    int32_t Y = clockwise ? layer.offsetX : R.right - W;
    X += H / 2 - W / 2;
    Y += W / 2 - H / 2;
    const int32_t px = X < 0 ? -X : 0, py = Y < 0 ? -Y : 0;
    X = std::max(X, 0);
    Y = std::max(Y, 0);
    const int32_t f = std::max({W, ih, ih + px}), g = std::max({H, iw, iw + py});
    auto turned = NewLayerLike(layer, f + std::max(W + X - f, 0), g + std::max(H + Y - g, 0), {X, Y}, {W, H});
    if (!turned || !image->Rotate90Into(*turned->Image(), {px, py}, clockwise))
        return nullptr;
    Finish(*turned);
    return turned;
}

std::unique_ptr<CLayerData> FitLayerToContent(PaperSize paper, CLayerData &layer)
{
    CBlockVMTC *image = layer.Image();
    if (!image)
        return nullptr;
    image->Compact();
    const SEdgeRect paperRect{0, 0, paper.width, paper.height};
    SEdgeRect box;
    if (image->VisibleTileBox(box)) {
        box = {box.left - layer.offsetX, box.top - layer.offsetY, box.right - layer.offsetX, box.bottom - layer.offsetY};
        IntersectEdge(box, layer.ImageRectOnPaper());
        box = {std::min(box.left, 0), std::min(box.top, 0), std::max(box.right, paper.width), std::max(box.bottom, paper.height)};
    } else {
        box = paperRect;
    }
    const int32_t w = box.right - box.left, h = box.bottom - box.top;
    const int32_t tiles = image->TileShift();
    if (((w + image->TileWidth() - 1) >> tiles) == image->TilesAcross() &&
        ((h + image->TileHeight() - 1) >> tiles) == image->TilesDown())
        return nullptr;
    auto fitted = NewLayerLike(layer, w, h, {-box.left, -box.top}, paper);
    if (!fitted)
        return nullptr;
    fitted->Image()->CopyFrom(*image, {0, 0}, {box.left + layer.offsetX, box.top + layer.offsetY, w, h});
    Finish(*fitted);
    return fitted;
}

namespace {

// f(alpha, mask value) over the pixels of the layer image that the mask's image covers.
template <class F> bool ForEachMaskedPixel(CLayerData &layer, const CMaskData &mask, F &&f)
{
    CBlockVMTC *image = layer.Image();
    if (!image || !mask.Image())
        return false;
    SEdgeRect shared = mask.Rect();
    if (IntersectEdge(shared, layer.ImageRectOnPaper()))
        for (int32_t y = shared.top; y < shared.bottom; ++y)
            for (int32_t x = shared.left; x < shared.right; ++x) {
                const int32_t lx = x + layer.offsetX, ly = y + layer.offsetY;
                const uint32_t p = image->Pixel(lx, ly), a = p >> 24, m = mask.ValueAt(x, y);
                const uint32_t next = f(a, m);
                if (next != a)
                    image->WritePixel(lx, ly, (p & 0x00FFFFFFu) | (next << 24));
            }
    image->Compact();
    layer.UpdateThumbnail();
    return true;
}

} // namespace

bool CutByMask(CLayerData &layer, const CMaskData &mask, int formula)
{
    if (formula != 0 && formula != 1)
        return false;
    return ForEachMaskedPixel(layer, mask, [formula](uint32_t a, uint32_t m) -> uint32_t {
        if (m == 255)
            return 0;
        if (m == 0)
            return a;
        if (formula == 1)
            return a * (255 - m) / 255;
        if (a == 255)
            return 255 - m;
        return (255 - m) * a * 255 / (65025 - a * m);
    });
}

bool KeepByMask(CLayerData &layer, const CMaskData &mask)
{
    CBlockVMTC *image = layer.Image();
    if (!image || !mask.Image())
        return false;
    // Alpha 0 outside the mask's bounds, the product inside.
    const SEdgeRect bounds = mask.Rect();
    const SEdgeRect onImage{bounds.left + layer.offsetX, bounds.top + layer.offsetY, bounds.right + layer.offsetX,
                            bounds.bottom + layer.offsetY};
    SEdgeRect inside = onImage;
    const bool meets = IntersectEdge(inside, {0, 0, image->Width(), image->Height()});
    std::vector<uint8_t> keep;
    if (meets) {
        keep.resize(size_t(inside.right - inside.left) * size_t(inside.bottom - inside.top));
        image->ReadAlpha(ToExtent(inside), keep.data());
    }
    image->SetAlpha({0, 0, image->Width(), image->Height()}, 0);
    if (meets) {
        image->WriteAlpha(ToExtent(inside), keep.data());
        const uint8_t *t = ProductTable();
        ForEachMaskedPixel(layer, mask, [t](uint32_t a, uint32_t m) -> uint32_t { return t[m * 256 + a]; });
    }
    layer.UpdateThumbnail();
    return true;
}

std::unique_ptr<CLayerMngr> MakeResizedLayersWithOffset(const CLayerMngr &layers, SPoint offset, PaperSize size,
                                                        bool copyAttributes)
{
    auto made = std::make_unique<CLayerMngr>();
    made->SetPaperSize(size.width, size.height);
    made->SetNameCounter(layers.NameCounter());
    const SEdgeRect P{-offset.x, -offset.y, size.width - offset.x, size.height - offset.y};
    for (int32_t i = 0; i < layers.Count(); ++i) {
        const CLayerData &old = *layers.At(i);
        const SEdgeRect R = old.ImageRectOnPaper();
        const SEdgeRect U{std::min(R.left, P.left), std::min(R.top, P.top), std::max(R.right, P.right), std::max(R.bottom, P.bottom)};
        if (made->AddLayer(i, U.right - U.left, U.bottom - U.top, old.Mode(), false, old.opacity, old.visible) != i) {
            LogText("makeResizeLayerEx: Exception!\n");
            return nullptr;
        }
        CLayerData &layer = *made->At(i);
        layer.ResetColourToModeFill();
        layer.Image()->CopyFrom(*old.Image(), {R.left - U.left, R.top - U.top}, {0, 0, old.Image()->Width(), old.Image()->Height()});
        layer.offsetX = P.left - U.left;
        layer.offsetY = P.top - U.top;
        layer.paperWidth = size.width;
        layer.paperHeight = size.height;
        if (copyAttributes)
            layer.CopyAttributes(old);
        else
            layer.name = old.name;
        Finish(layer);
    }
    made->SetActive(layers.Active());
    return made;
}

std::unique_ptr<CLayerMngr> MakeResizedLayers(const CLayerMngr &layers, SExtent rect, PaperSize size)
{
    auto made = std::make_unique<CLayerMngr>();
    made->SetPaperSize(size.width, size.height);
    made->SetNameCounter(layers.NameCounter());
    for (int32_t i = 0; i < layers.Count(); ++i) {
        const CLayerData &old = *layers.At(i);
        if (made->AddLayer(i, size.width, size.height, old.Mode(), false, old.opacity, old.visible) != i) {
            LogText("makeResizeLayer: Exception!\n");
            return nullptr;
        }
        CLayerData &layer = *made->At(i);
        layer.ResetColourToModeFill();
        layer.Image()->CopyFrom(*old.Image(), {-rect.x - old.offsetX, -rect.y - old.offsetY},
                                {0, 0, old.Image()->Width(), old.Image()->Height()});
        layer.name = old.name;
        Finish(layer);
    }
    made->SetActive(layers.Active());
    return made;
}

std::unique_ptr<CLayerMngr> MakeZoomedLayers(const CLayerMngr &layers, PaperSize size, int kind, int method)
{
    if (kind != 1 && kind != 2)
        return nullptr;
    if (method != 1 && method != 2)
        return nullptr; // any other method would leave every layer blank, which is no zoom
    auto made = std::make_unique<CLayerMngr>();
    made->SetPaperSize(size.width, size.height);
    made->SetNameCounter(layers.NameCounter());
    const double sx = double(size.width) / layers.PaperWidth(), sy = double(size.height) / layers.PaperHeight();
    for (int32_t i = 0; i < layers.Count(); ++i) {
        const CLayerData &old = *layers.At(i);
        const CBlockVMTC &source = *old.Image();
        const int32_t w = int32_t(std::floor(source.Width() * sx + 0.5)), h = int32_t(std::floor(source.Height() * sy + 0.5));
        if (made->AddLayer(i, w, h, old.Mode(), false, old.opacity, old.visible) != i) {
            LogText("makeZoomLayer: Exception!\n");
            return nullptr;
        }
        CLayerData &layer = *made->At(i);
        CBlockVMTC &dest = *layer.Image();
        if (method == 1)
            source.ReduceInto(dest);
        else
            CScaleLayerImage(source, dest).Resample({0, 0, source.Width(), source.Height()}, {0, 0, w, h});
        layer.CopyAttributes(old);
        layer.offsetX = int32_t(std::floor(old.offsetX * sx + 0.5));
        layer.offsetY = int32_t(std::floor(old.offsetY * sy + 0.5));
        layer.paperWidth = size.width;
        layer.paperHeight = size.height;
        layer.offsetX -= std::max(layer.offsetX + size.width - dest.Width(), 0);
        layer.offsetY -= std::max(layer.offsetY + size.height - dest.Height(), 0);
        Finish(layer);
    }
    made->SetActive(layers.Active());
    return made;
}

} // namespace pv
