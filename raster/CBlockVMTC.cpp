// The colour block image: tiles, pixel access, the region list, fills, copies and compact.
#include "raster/CBlockVMTC.h"

#include "raster/ColourCopies.h"
#include "raster/PixelMath.h"

#include <algorithm>
#include <array>

namespace pv {

const ptrdiff_t *CBlockVMTC::RowTable()
{
    static const auto table = [] {
        std::array<ptrdiff_t, 32> rows{};
        for (int r = 0; r < 32; ++r)
            rows[r] = ptrdiff_t(r) * 32 * 4;
        return rows;
    }();
    return table.data();
}

CBlockVMTC::CBlockVMTC(int32_t width, int32_t height) : CBlockVMTC()
{
    Create(width, height);
}

bool CBlockVMTC::Create(int32_t width, int32_t height)
{
    const bool ok = Build(width, height);
    regions_.Reset(Width(), Height());
    regionsStale_ = false;
    return ok;
}

bool CBlockVMTC::CreateAsCopy(const CBlockVMTC &other)
{
    if (!Create(other.Width(), other.Height()))
        return false;
    const bool ok = CopyAllTiles(other);
    RegionsStale();
    return ok;
}

void CBlockVMTC::ShowTile(TVMTC &view, int32_t tile) const
{
    view.Clear();
    if (IsAllocated(tile)) {
        const SExtent r = TileRect(tile);
        view.Show(reinterpret_cast<uint32_t *>(TileMemory(tile)), RowTable(), r.width, r.height);
    }
}

void CBlockVMTC::FillTileMemory(int32_t tile, uint32_t value)
{
    uint32_t *p = reinterpret_cast<uint32_t *>(TileMemory(tile));
    std::fill(p, p + 32 * 32, value);
}

void CBlockVMTC::TileAllocated(int32_t tile)
{
    if (!regionsStale_)
        regions_.Add(ToEdge(TileRect(tile)));
}

uint32_t CBlockVMTC::Pixel(int32_t x, int32_t y) const
{
    const int32_t tile = TileIndexAt(x, y);
    if (!IsAllocated(tile))
        return Uniform(tile);
    return reinterpret_cast<const uint32_t *>(TileMemory(tile))[(y & 31) * 32 + (x & 31)];
}

uint32_t CBlockVMTC::ClampedPixel(int32_t x, int32_t y) const
{
    if (Width() == 0 || Height() == 0)
        return kDefaultColour;
    return Pixel(std::clamp(x, 0, Width() - 1), std::clamp(y, 0, Height() - 1));
}

uint32_t CBlockVMTC::PixelOrDefault(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return kDefaultColour;
    return Pixel(x, y);
}

uint32_t CBlockVMTC::GreyAt(int32_t x, int32_t y) const
{
    return GreyOfColour(PixelOrDefault(x, y));
}

uint32_t *CBlockVMTC::PixelAddress(int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return nullptr;
    const int32_t tile = TileIndexAt(x, y);
    if (!AllocTile(tile))
        return nullptr;
    MarkChanged(tile);
    return reinterpret_cast<uint32_t *>(TileMemory(tile)) + (y & 31) * 32 + (x & 31);
}

bool CBlockVMTC::WritePixel(int32_t x, int32_t y, uint32_t value)
{
    uint32_t *p = PixelAddress(x, y);
    if (p)
        *p = value;
    return p != nullptr;
}

bool CBlockVMTC::WriteClampedPixel(int32_t x, int32_t y, uint32_t value)
{
    if (Width() == 0 || Height() == 0)
        return false;
    return WritePixel(std::clamp(x, 0, Width() - 1), std::clamp(y, 0, Height() - 1), value);
}

void CBlockVMTC::RebuildRegions() const
{
    regions_.Reset(Width(), Height());
    for (int32_t tile = 0; tile < TileCount(); ++tile)
        if (IsAllocated(tile) || AlphaOf(Uniform(tile)) != 0)
            regions_.Add(ToEdge(TileRect(tile)));
    regionsStale_ = false;
}

const std::vector<SEdgeRect> &CBlockVMTC::Regions() const
{
    if (regionsStale_)
        RebuildRegions();
    return regions_.Rects();
}

bool CBlockVMTC::DrawInto(TMTC &dest, SPoint point, uint8_t weight, bool skipTransparent, SExtent rect) const
{
    if (!IsValid() || !dest.IsValid() || !ClipCopy(point, rect, Width(), Height(), dest.Width(), dest.Height()))
        return false;
    if (weight == 0)
        return true;
    const int32_t dx = point.x - rect.x, dy = point.y - rect.y;
    ForEachPiece(rect, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        const SExtent target{piece.x + dx, piece.y + dy, piece.width, piece.height};
        if (!IsAllocated(tile)) {
            const uint32_t u = Uniform(tile);
            if (skipTransparent && AlphaOf(u) == 0)
                return;
            if (weight == 255)
                dest.FillRect(target, u);
            else
                dest.BlendedFill(target, u, weight);
            return;
        }
        TVMTC view;
        ShowTile(view, tile);
        DrawWithWeight(view, dest, {target.x, target.y}, weight, {lx, ly, piece.width, piece.height});
    });
    return true;
}

bool CBlockVMTC::WriteFrom(const TMTC &source, SPoint point, uint8_t weight, SExtent rect)
{
    if (!IsValid() || !source.IsValid() || !ClipCopy(point, rect, source.Width(), source.Height(), Width(), Height()))
        return false;
    if (weight == 0)
        return true;
    const int32_t dx = rect.x - point.x, dy = rect.y - point.y;
    const bool ok = ForEachWritablePiece({point.x, point.y, rect.width, rect.height}, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        TVMTC view;
        ShowTile(view, tile);
        DrawWithWeight(source, view, {lx, ly}, weight, {piece.x + dx, piece.y + dy, piece.width, piece.height});
    });
    RegionsStale();
    return ok;
}

bool CBlockVMTC::CopyFrom(const CBlockVMTC &other, SPoint point, SExtent rect)
{
    bool ok = true, any = false;
    ForEachPiecePair(other, point, rect, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly, int32_t srcTile, int32_t slx, int32_t sly) {
        any = true;
        if (!other.IsAllocated(srcTile) && !IsAllocated(tile) && CoversTile(tile, piece, lx, ly)) {
            SetUniform(tile, other.Uniform(srcTile));
            return;
        }
        if (!AllocTile(tile)) {
            ok = false;
            return;
        }
        MarkChanged(tile);
        TVMTC view;
        ShowTile(view, tile);
        if (other.IsAllocated(srcTile)) {
            TVMTC source;
            other.ShowTile(source, srcTile);
            CopyColourRect(view, source, {lx, ly}, {slx, sly, piece.width, piece.height});
        } else {
            view.FillRect({lx, ly, piece.width, piece.height}, other.Uniform(srcTile));
        }
    });
    RegionsStale();
    return ok && any;
}

bool CBlockVMTC::MaskedFill(SExtent rect, uint32_t mask, uint32_t value)
{
    const uint32_t set = mask & value;
    const bool ok = TransformRect<uint32_t>(rect, [&](uint32_t *p, int32_t n) {
        for (int32_t i = 0; i < n; ++i)
            p[i] = set | (~mask & p[i]);
    });
    RegionsStale();
    return ok;
}

bool CBlockVMTC::XorRect(SExtent rect, uint32_t value)
{
    const bool ok = TransformRect<uint32_t>(rect, [&](uint32_t *p, int32_t n) {
        for (int32_t i = 0; i < n; ++i)
            p[i] ^= value;
    });
    RegionsStale();
    return ok;
}

void CBlockVMTC::SetEveryTile(uint32_t colour)
{
    for (int32_t tile = 0; tile < TileCount(); ++tile) {
        if (IsAllocated(tile)) {
            FillTileMemory(tile, colour);
            MarkChanged(tile);
        } else {
            SetUniform(tile, colour);
        }
    }
    RegionsStale();
}

int32_t CBlockVMTC::Compact()
{
    int32_t freed = 0;
    for (int32_t tile = 0; tile < TileCount(); ++tile) {
        if (!IsAllocated(tile))
            continue;
        TVMTC view;
        ShowTile(view, tile);
        const uint32_t first = view.At(0, 0);
        bool uniform = true;
        for (int32_t y = 0; y < view.Height() && uniform; ++y) {
            const uint32_t *row = view.RowPixels(y);
            uniform = std::all_of(row, row + view.Width(), [&](uint32_t p) { return p == first; });
        }
        if (uniform) {
            FreeTile(tile, first);
            ++freed;
        }
    }
    if (freed)
        RegionsStale();
    return freed;
}

bool CBlockVMTC::VisibleTileBox(SEdgeRect &box) const
{
    bool found = false;
    for (int32_t tile = 0; tile < TileCount(); ++tile) {
        bool visible = false;
        if (!IsAllocated(tile)) {
            visible = AlphaOf(Uniform(tile)) != 0;
        } else {
            TVMTC view;
        ShowTile(view, tile);
            for (int32_t y = 0; y < view.Height() && !visible; ++y) {
                const uint32_t *row = view.RowPixels(y);
                visible = std::any_of(row, row + view.Width(), [](uint32_t p) { return AlphaOf(p) != 0; });
            }
        }
        if (!visible)
            continue;
        const SEdgeRect r = ToEdge(TileRect(tile));
        const SEdgeRect aligned{r.left, r.top, r.left + TileWidth(), r.top + TileHeight()};
        box = found ? SEdgeRect{std::min(box.left, aligned.left), std::min(box.top, aligned.top),
                                std::max(box.right, aligned.right), std::max(box.bottom, aligned.bottom)}
                    : aligned;
        found = true;
    }
    return found;
}

} // namespace pv
