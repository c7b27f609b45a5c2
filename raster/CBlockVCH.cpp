// The 8-bit block image.
#include "raster/CBlockVCH.h"

#include "raster/CBlockVMTC.h"
#include "raster/MixTables.h"
#include "raster/PixelMath.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pv {

const ptrdiff_t *CBlockVCH::RowTable()
{
    static const auto table = [] {
        std::array<ptrdiff_t, 64> rows{};
        for (int r = 0; r < 64; ++r)
            rows[r] = ptrdiff_t(r) * 64;
        return rows;
    }();
    return table.data();
}

CBlockVCH::CBlockVCH(int32_t width, int32_t height) : CBlockVCH()
{
    Create(width, height);
}

bool CBlockVCH::Create(int32_t width, int32_t height)
{
    return Build(width, height) && IsValid();
}

void CBlockVCH::ShowTile(TVChannel &view, int32_t tile) const
{
    view.Clear();
    if (IsAllocated(tile)) {
        const SExtent r = TileRect(tile);
        view.Show(TileMemory(tile), RowTable(), r.width, r.height);
    }
}

void CBlockVCH::FillTileMemory(int32_t tile, uint32_t value)
{
    std::memset(TileMemory(tile), int(value & 0xFF), 64 * 64);
}

uint8_t CBlockVCH::Value(int32_t x, int32_t y) const
{
    const int32_t tile = TileIndexAt(x, y);
    return IsAllocated(tile) ? TileMemory(tile)[(y & 63) * 64 + (x & 63)] : uint8_t(Uniform(tile));
}

uint8_t CBlockVCH::ClampedValue(int32_t x, int32_t y) const
{
    if (!IsValid())
        return 0;
    return Value(std::clamp(x, 0, Width() - 1), std::clamp(y, 0, Height() - 1));
}

uint8_t CBlockVCH::ValueOrZero(int32_t x, int32_t y) const
{
    return Contains(x, y) ? Value(x, y) : 0;
}

uint8_t *CBlockVCH::ValueAddress(int32_t x, int32_t y)
{
    if (!Contains(x, y))
        return nullptr;
    const int32_t tile = TileIndexAt(x, y);
    if (!AllocTile(tile))
        return nullptr;
    MarkChanged(tile);
    return TileMemory(tile) + (y & 63) * 64 + (x & 63);
}

bool CBlockVCH::WriteValue(int32_t x, int32_t y, uint8_t v)
{
    uint8_t *p = ValueAddress(x, y);
    if (p)
        *p = v;
    return p != nullptr;
}

bool CBlockVCH::WriteClampedValue(int32_t x, int32_t y, uint8_t v)
{
    return IsValid() && WriteValue(std::clamp(x, 0, Width() - 1), std::clamp(y, 0, Height() - 1), v);
}

bool CBlockVCH::ReadInto(TChannel &dest, SPoint point, SExtent rect) const
{
    if (!IsValid() || !dest.IsValid() || !ClipCopy(point, rect, Width(), Height(), dest.Width(), dest.Height()))
        return false;
    const int32_t dx = point.x - rect.x, dy = point.y - rect.y;
    ForEachPiece(rect, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        for (int32_t j = 0; j < piece.height; ++j) {
            uint8_t *d = dest.Row(piece.y + dy + j) + piece.x + dx;
            if (IsAllocated(tile))
                std::memcpy(d, TileMemory(tile) + (ly + j) * 64 + lx, size_t(piece.width));
            else
                std::memset(d, int(Uniform(tile)), size_t(piece.width));
        }
    });
    return true;
}

bool CBlockVCH::WriteFrom(const TChannel &source, SPoint point, SExtent rect)
{
    if (!IsValid() || !source.IsValid() || !ClipCopy(point, rect, source.Width(), source.Height(), Width(), Height()))
        return false;
    const int32_t dx = rect.x - point.x, dy = rect.y - point.y;
    return ForEachWritablePiece({point.x, point.y, rect.width, rect.height}, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        for (int32_t j = 0; j < piece.height; ++j)
            std::memcpy(TileMemory(tile) + (ly + j) * 64 + lx, source.Row(piece.y + dy + j) + piece.x + dx,
                        size_t(piece.width));
    });
}

bool CBlockVCH::CopyFrom(const CBlockVCH &other, SPoint point, SExtent rect)
{
    bool ok = true;
    ForEachPiecePair(other, point, rect, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly, int32_t srcTile, int32_t slx, int32_t sly) {
        if (!other.IsAllocated(srcTile) && !IsAllocated(tile) && CoversTile(tile, piece, lx, ly)) {
            SetUniform(tile, other.Uniform(srcTile));
            return;
        }
        if (!AllocTile(tile)) {
            ok = false;
            return;
        }
        MarkChanged(tile);
        for (int32_t j = 0; j < piece.height; ++j) {
            uint8_t *d = TileMemory(tile) + (ly + j) * 64 + lx;
            if (other.IsAllocated(srcTile))
                std::memcpy(d, other.TileMemory(srcTile) + (sly + j) * 64 + slx, size_t(piece.width));
            else
                std::memset(d, int(other.Uniform(srcTile)), size_t(piece.width));
        }
    });
    return ok;
}


bool CBlockVCH::FillRect(SExtent rect, uint8_t value)
{
    return TransformRect<uint8_t>(rect, [value](uint8_t *p, int32_t n) { std::memset(p, value, size_t(n)); });
}

bool CBlockVCH::XorRect(SExtent rect, uint8_t value)
{
    return TransformRect<uint8_t>(rect, [value](uint8_t *p, int32_t n) {
        for (int32_t i = 0; i < n; ++i)
            p[i] ^= value;
    });
}

bool CBlockVCH::FillOutside(SExtent rect, uint8_t value)
{
    if (!IsValid())
        return false;
    const SEdgeRect r = ToEdge(rect);
    const int32_t top = std::clamp(r.top, 0, Height()), bottom = std::clamp(r.bottom, top, Height());
    FillRect({0, 0, Width(), top}, value);
    FillRect({0, bottom, Width(), Height() - bottom}, value);
    FillRect({0, top, std::clamp(r.left, 0, Width()), bottom - top}, value);
    const int32_t right = std::clamp(r.right, 0, Width());
    FillRect({right, top, Width() - right, bottom - top}, value);
    return true;
}

int32_t CBlockVCH::Compact()
{
    int32_t freed = 0;
    for (int32_t tile = 0; tile < TileCount(); ++tile) {
        if (!IsAllocated(tile))
            continue;
        const SExtent r = TileRect(tile);
        const uint8_t *p = TileMemory(tile), first = p[0];
        bool uniform = true;
        for (int32_t j = 0; j < r.height && uniform; ++j)
            uniform = std::all_of(p + j * 64, p + j * 64 + r.width, [&](uint8_t v) { return v == first; });
        if (uniform) {
            FreeTile(tile, first);
            ++freed;
        }
    }
    return freed;
}

bool CBlockVCH::NonZeroBox(SEdgeRect &box) const
{
    bool found = false;
    for (int32_t y = 0; y < Height(); ++y)
        for (int32_t x = 0; x < Width(); ++x) {
            if (Value(x, y) == 0)
                continue;
            box = found ? SEdgeRect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                                    std::max(box.bottom, y + 1)}
                        : SEdgeRect{x, y, x + 1, y + 1};
            found = true;
        }
    return found;
}

bool CBlockVCH::NonEmptyTileBox(SEdgeRect &box) const
{
    bool found = false;
    for (int32_t tile = 0; tile < TileCount(); ++tile) {
        if (!IsAllocated(tile) && Uniform(tile) == 0)
            continue;
        const SEdgeRect r = ToEdge(TileRect(tile));
        box = found ? SEdgeRect{std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
                                std::max(box.bottom, r.bottom)}
                    : r;
        found = true;
    }
    return found;
}

bool CBlockVCH::ReduceInto(TTC &dest, SExtent destRect, SExtent window) const
{
    if (!IsValid() || !dest.IsValid())
        return false;
    return ForEachReducedPixel(dest.Width(), dest.Height(), destRect, window,
                               [&](int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t boxW, int32_t boxH) {
                                   uint32_t sum = 0;
                                   for (int32_t k = 0; k < boxW * boxH; ++k)
                                       sum += ClampedValue(sx + k % boxW, sy + k / boxW);
                                   const uint32_t v = sum / uint32_t(boxW * boxH);
                                   dest.At(x, y) = v | (v << 8) | (v << 16);
                               });
}

bool CBlockVCH::ReduceInto(CBlockVCH &dest) const
{
    if (!IsValid() || !dest.IsValid())
        return false;
    const SixteenSamples at(Width(), Height(), dest.Width(), dest.Height());
    bool ok = true;
    for (int32_t y = 0; y < dest.Height(); ++y)
        for (int32_t x = 0; x < dest.Width(); ++x) {
            uint32_t sum = 0;
            for (int32_t k = 0; k < 16; ++k)
                sum += ClampedValue(at.X(x, k % 4), at.Y(y, k / 4));
            ok = dest.WriteValue(x, y, uint8_t(sum / 16)) && ok;
        }
    dest.Compact();
    return ok;
}

bool CBlockVCH::WriteRow(int32_t x, int32_t y, int32_t count, const uint8_t *bytes)
{
    if (!IsValid() || y < 0 || y >= Height() || count <= 0)
        return false;
    const int32_t first = std::max(x, 0), last = std::min(x + count, Width());
    return ForEachWritablePiece({first, y, last - first, 1}, [&](int32_t tile, SExtent piece, int32_t lx, int32_t ly) {
        std::memcpy(TileMemory(tile) + ly * 64 + lx, bytes + (piece.x - x), size_t(piece.width));
    });
}

bool CBlockVCH::ReadRow(int32_t x, int32_t y, int32_t count, uint8_t *bytes) const
{
    if (!IsValid() || y < 0 || y >= Height() || count <= 0)
        return false;
    for (int32_t i = 0; i < count; ++i)
        bytes[i] = ValueOrZero(x + i, y);
    return true;
}

namespace {

template <class Pick> bool Neighbourhood(const CBlockVCH &source, CBlockVCH &dest, SEdgeRect box, Pick &&pick)
{
    if (!dest.IsValid())
        return false;
    bool ok = true;
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x) {
            uint8_t v = source.ClampedValue(x, y);
            for (int32_t j = -1; j <= 1; ++j)
                for (int32_t i = -1; i <= 1; ++i)
                    v = pick(v, source.ClampedValue(x + i, y + j));
            ok = dest.WriteValue(x, y, v) && ok;
        }
    dest.Compact();
    return ok;
}

} // namespace

bool CBlockVCH::GrowInto(CBlockVCH &dest) const
{
    SEdgeRect box;
    if (!IsValid() || !NonEmptyTileBox(box))
        return false;
    box = {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1};
    IntersectEdge(box, {0, 0, Width(), Height()});
    return Neighbourhood(*this, dest, box, [](uint8_t a, uint8_t b) { return std::max(a, b); });
}

bool CBlockVCH::ShrinkInto(CBlockVCH &dest) const
{
    SEdgeRect box;
    if (!IsValid() || !NonEmptyTileBox(box))
        return false;
    return Neighbourhood(*this, dest, box, [](uint8_t a, uint8_t b) { return std::min(a, b); });
}

bool CBlockVCH::FromColour(const CBlockVMTC &colour, bool invert)
{
    if (!IsValid() || !colour.IsValid())
        return false;
    const uint8_t *t = ProductTable();
    bool ok = true;
    for (int32_t y = 0; y < std::min(Height(), colour.Height()); ++y)
        for (int32_t x = 0; x < std::min(Width(), colour.Width()); ++x) {
            const uint32_t p = colour.Pixel(x, y), grey = GreyOfColour(p);
            ok = WriteValue(x, y, t[AlphaOf(p) * 256 + (invert ? 255 - grey : grey)]) && ok;
        }
    Compact();
    return ok;
}

bool CBlockVCH::FromAlpha(const CBlockVMTC &colour)
{
    if (!IsValid() || !colour.IsValid())
        return false;
    bool ok = true;
    for (int32_t y = 0; y < std::min(Height(), colour.Height()); ++y)
        for (int32_t x = 0; x < std::min(Width(), colour.Width()); ++x)
            ok = WriteValue(x, y, uint8_t(AlphaOf(colour.Pixel(x, y)))) && ok;
    Compact();
    return ok;
}

} // namespace pv
