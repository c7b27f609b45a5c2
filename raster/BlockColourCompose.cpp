// Compositing with block-tiled colour images: the view, layer into layer, merges and the
// drawing operators. Uniform tiles are handled on their uniform value wherever a piece covers
// a whole tile, so empty areas cost one routine call per tile.
#include "raster/CBlockVMTC.h"

#include <algorithm>
#include <array>

#include "raster/Dither.h"
#include "raster/ImageDrivers.h"
#include "raster/MixTables.h"
#include "raster/PixelMath.h"
#include "raster/SLayerParam.h"

namespace pv {
namespace {

// The per-pixel form of a merge, given as a callable so both merges share the tile walk.
template <class PixelMerge>
bool MergeTiles(CBlockVMTC &lower, const CBlockVMTC &upper, SPoint point, SExtent rect, PixelMerge &&merge)
{
    bool ok = true, any = false;
    lower.ForEachPiecePair(upper, point, rect, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly, int32_t srcTile, int32_t slx, int32_t sly) {
        any = true;
        if (!upper.IsAllocated(srcTile) && !lower.IsAllocated(tile) && lower.CoversTile(tile, piece, lx, ly)) {
            uint32_t u = lower.Uniform(tile);
            merge(&u, upper.Uniform(srcTile));
            lower.SetUniform(tile, u);
            return;
        }
        if (!lower.AllocTile(tile)) {
            ok = false;
            return;
        }
        lower.MarkChanged(tile);
        TVMTC dest, source;
        lower.ShowTile(dest, tile);
        upper.ShowTile(source, srcTile);
        for (int32_t j = 0; j < piece.height; ++j) {
            uint32_t *d = dest.RowPixels(ly + j) + lx;
            if (upper.IsAllocated(srcTile)) {
                const uint32_t *s = source.RowPixels(sly + j) + slx;
                for (int32_t i = 0; i < piece.width; ++i)
                    merge(d + i, s[i]);
            } else {
                const uint32_t s = upper.Uniform(srcTile);
                for (int32_t i = 0; i < piece.width; ++i)
                    merge(d + i, s);
            }
        }
    });
    return ok && any;
}

void DitherRun(uint32_t *dest, const uint32_t *source, int32_t count, int32_t x, int32_t y, int opacity)
{
    for (int32_t i = 0; i < count; ++i) {
        SetDitherPosition(x + i, y);
        DitherCompose(dest + i, source[i], opacity);
    }
}

// Rectangles of at most this many tiles are composed without the region list.
constexpr int64_t kWalkedWhole = 64;

// Whether the view's rows top .. top + height - 1 lie stride pixels apart.
bool EvenRows(const TMTC &dest, int32_t top, int32_t height, ptrdiff_t &stride)
{
    stride = height > 1 ? dest.RowPixels(top + 1) - dest.RowPixels(top) : 0;
    for (int32_t j = 2; j < height; ++j)
        if (dest.RowPixels(top + j) - dest.RowPixels(top + j - 1) != stride)
            return false;
    return true;
}

} // namespace

void CBlockVMTC::FoldOpacity(uint8_t opacity)
{
    if (opacity == 255)
        return;
    const uint8_t *t = ProductTable() + opacity * 256;
    auto fold = [t](uint32_t p) { return (p & 0x00FFFFFFu) | (uint32_t(t[p >> 24]) << 24); };
    for (int32_t tile = 0; tile < TileCount(); ++tile) {
        if (!IsAllocated(tile)) {
            SetUniform(tile, fold(Uniform(tile)));
            continue;
        }
        uint32_t *p = reinterpret_cast<uint32_t *>(TileMemory(tile));
        for (int32_t i = 0; i < 32 * 32; ++i)
            p[i] = fold(p[i]);
        MarkChanged(tile);
    }
    RegionsStale();
}

bool CBlockVMTC::ComposeIntoView(TMTC &dest, int mode, uint8_t opacity, const SRandomRecord *dither,
                                 uint8_t ditherAmount, SPoint point, SExtent rect) const
{
    if (!IsValid() || !dest.IsValid() || !ClipCopy(point, rect, Width(), Height(), dest.Width(), dest.Height()))
        return false;
    if (opacity == 0)
        return true;
    const SLayerParam &param = LayerParam(mode);
    const ComposeRectRoutine composeRect = param.composeRect;
    if (dither)
        InstallDither(param.compose, *dither, ditherAmount);
    const SPoint shift{point.x - rect.x, point.y - rect.y};
    std::array<uint32_t, 32> uniformRow;
    // A piece goes to the compose routine in one call where the view's rows are evenly
    // spaced, a row at a time where they are not.
    ptrdiff_t stride = 0;
    const int32_t rowsPerCall = EvenRows(dest, point.y, rect.height, stride) ? 32 : 1;
    auto composePiece = [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        const bool allocated = IsAllocated(tile);
        if (!allocated && AlphaOf(Uniform(tile)) == 0)
            return;
        const uint32_t *pixels = allocated ? reinterpret_cast<const uint32_t *>(TileMemory(tile)) + ly * 32 + lx : nullptr;
        if (!pixels)
            uniformRow.fill(Uniform(tile));
        const ptrdiff_t sourceStride = pixels ? 32 : 0;
        for (int32_t j = 0; j < piece.height; j += dither ? 1 : rowsPerCall) {
            uint32_t *d = dest.RowPixels(piece.y + shift.y + j) + piece.x + shift.x;
            const uint32_t *s = pixels ? pixels + j * sourceStride : uniformRow.data();
            if (dither)
                DitherRun(d, s, piece.width, piece.x, piece.y + j, opacity);
            else
                composeRect(d, stride, s, sourceStride, piece.width, std::min(rowsPerCall, piece.height - j), opacity);
        }
    };
    // The region list spares a walk over the empty tiles of a large rectangle; a small one
    // is walked whole, cheaper than looking through a long list.
    const int64_t tilesAcross = (int64_t(rect.x + rect.width - 1) >> 5) - (rect.x >> 5) + 1;
    const int64_t tilesDown = (int64_t(rect.y + rect.height - 1) >> 5) - (rect.y >> 5) + 1;
    if (tilesAcross * tilesDown <= kWalkedWhole) {
        ForEachPiece(rect, composePiece);
        return true;
    }
    const SEdgeRect wanted = ToEdge(rect);
    for (SEdgeRect region : Regions())
        if (IntersectEdge(region, wanted))
            ForEachPiece(ToExtent(region), composePiece);
    return true;
}

bool CBlockVMTC::ComposeLayerInto(CBlockVMTC &dest, int mode, uint8_t opacity) const
{
    const ComposeRoutine compose = LayerParam(mode).compose;
    const bool ok = MergeTiles(dest, *this, {0, 0}, {0, 0, Width(), Height()},
                               [&](uint32_t *d, uint32_t s) { compose(d, s, opacity); });
    dest.RegionsStale();
    return ok;
}

bool CBlockVMTC::Merge(const CBlockVMTC &upper, SPoint point, MergeRoutine routine, uint8_t upperOpacity,
                       uint8_t lowerOpacity, SExtent rect)
{
    FoldOpacity(lowerOpacity);
    const bool ok = MergeTiles(*this, upper, point, rect, [&](uint32_t *d, uint32_t s) { routine(d, s, upperOpacity); });
    RegionsStale();
    return ok;
}

bool CBlockVMTC::GenericMerge(const CBlockVMTC &upper, SPoint point, const SMergeParam &param, uint8_t upperOpacity,
                              uint8_t lowerOpacity, SExtent rect)
{
    FoldOpacity(lowerOpacity);
    const bool ok = MergeTiles(*this, upper, point, rect,
                               [&](uint32_t *d, uint32_t s) { pv::GenericMerge(d, s, upperOpacity, param); });
    RegionsStale();
    return ok;
}

bool CBlockVMTC::DrawWithOperatorInto(TMTC &dest, int mode, uint8_t opacity, SPoint point, SExtent rect) const
{
    if (!IsValid() || !dest.IsValid() || !ClipCopy(point, rect, Width(), Height(), dest.Width(), dest.Height()))
        return false;
    const PaintRoutine op = DrawingOperatorOf(mode);
    const int32_t dx = point.x - rect.x, dy = point.y - rect.y;
    ForEachPiece(rect, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        const SPoint at{piece.x + dx, piece.y + dy};
        if (IsAllocated(tile)) {
            TVMTC view;
            ShowTile(view, tile);
            DrawWithOperator(view, dest, at, op, opacity, {lx, ly, piece.width, piece.height});
        } else {
            ApplyWithOperator(dest, {at.x, at.y, piece.width, piece.height}, op, Uniform(tile), opacity);
        }
    });
    return true;
}

bool CBlockVMTC::DrawWithOperatorInto(CBlockVMTC &dest, int mode, uint8_t opacity, SPoint point, SExtent rect) const
{
    const PaintRoutine op = DrawingOperatorOf(mode);
    const bool ok = MergeTiles(dest, *this, point, rect, [&](uint32_t *d, uint32_t s) {
        op(d, s, opacity);
        *d |= 0xFF000000u;
    });
    dest.RegionsStale();
    return ok;
}

} // namespace pv
