// The tile table: building it, allocating and freeing tiles, copying tiles between images.
#include "raster/CBlockImage.h"

#include "raster/CDibCore.h"
#include "platform/Messages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace pv {

CBlockImage::~CBlockImage()
{
    FreeAll();
}

void CBlockImage::FreeAll()
{
    for (size_t i = 0; i < slots_.size(); ++i)
        if ((slots_[i] & kUnallocated) == 0)
            std::free(reinterpret_cast<void *>(slots_[i] & ~kFlagBits));
    slots_.clear();
    valid_ = false;
}

bool CBlockImage::Build(int32_t width, int32_t height)
{
    FreeAll();
    width_ = height_ = across_ = down_ = 0;
    if (width < 0 || height < 0 || width > kMaxImageSide || height > kMaxImageSide)
        return false;
    width_ = width;
    height_ = height;
    across_ = (width + tileSize_ - 1) >> shift_;
    down_ = (height + tileSize_ - 1) >> shift_;
    try {
        slots_.assign(size_t(across_) * size_t(down_), (uint64_t(DefaultUniform()) << 32) | kUnallocated);
    } catch (const std::bad_alloc &) {
        width_ = height_ = across_ = down_ = 0;
        return false;
    }
    valid_ = true;
    return true;
}

bool CBlockImage::ResetSize(int32_t width, int32_t height)
{
    return Build(width, height);
}

int32_t CBlockImage::TileIndex(int32_t bx, int32_t by) const
{
    if (bx < 0 || by < 0 || bx >= across_ || by >= down_)
        return -1;
    return by * across_ + bx;
}

SExtent CBlockImage::TileRect(int32_t tile) const
{
    const int32_t x = (tile % across_) << shift_, y = (tile / across_) << shift_;
    return {x, y, std::min(width_ - x, tileSize_), std::min(height_ - y, tileSize_)};
}

void CBlockImage::SetUniform(int32_t tile, uint32_t value)
{
    if (IsAllocated(tile))
        return;
    if (Uniform(tile) != value)
        slots_[tile] = (uint64_t(value) << 32) | kUnallocated | kChanged;
}

bool CBlockImage::AllocTile(int32_t tile)
{
    if (IsAllocated(tile))
        return true;
    const uint32_t uniform = Uniform(tile);
    void *memory = std::aligned_alloc(64, size_t(TileByteSize()));
    if (!memory) {
        Messages().Warning("メモリ不足により障害が発生しました！\r以降動作が不安定になるかもしれません...");
        return false;
    }
    slots_[tile] = reinterpret_cast<uint64_t>(memory) | kChanged;
    FillTileMemory(tile, uniform);
    TileAllocated(tile);
    return true;
}

void CBlockImage::FreeTile(int32_t tile, uint32_t uniform)
{
    if (IsAllocated(tile))
        std::free(TileMemory(tile));
    slots_[tile] = (uint64_t(uniform) << 32) | kUnallocated | kChanged;
}

int32_t CBlockImage::AllocatedTiles() const
{
    return int32_t(std::count_if(slots_.begin(), slots_.end(), [](uint64_t s) { return (s & kUnallocated) == 0; }));
}

std::vector<int32_t> CBlockImage::TakeChangedTiles()
{
    std::vector<int32_t> changed;
    for (size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i] & kChanged) {
            changed.push_back(int32_t(i));
            slots_[i] &= ~kChanged;
        }
    return changed;
}

bool CBlockImage::CoversTile(int32_t tile, const SExtent &piece, int32_t lx, int32_t ly) const
{
    if (lx != 0 || ly != 0)
        return false;
    const SExtent t = TileRect(tile);
    return piece.width == t.width && piece.height == t.height;
}

bool CBlockImage::CopyTile(const CBlockImage &other, int32_t from, int32_t to)
{
    if (!other.IsAllocated(from)) {
        FreeTile(to, other.Uniform(from));
        return true;
    }
    if (!AllocTile(to))
        return false;
    std::memcpy(TileMemory(to), other.TileMemory(from), size_t(TileByteSize()));
    MarkChanged(to);
    return true;
}

bool CBlockImage::CopyAllTiles(const CBlockImage &other)
{
    if (!IsValid() || !other.IsValid() || other.tileSize_ != tileSize_ || other.bytesPerPixel_ != bytesPerPixel_)
        return false;
    bool ok = true;
    for (int32_t by = 0; by < std::min(down_, other.down_); ++by)
        for (int32_t bx = 0; bx < std::min(across_, other.across_); ++bx) {
            const int32_t from = other.TileIndex(bx, by), to = TileIndex(bx, by);
            ok = CopyTile(other, from, to) && ok;
        }
    return ok;
}

bool CBlockImage::CopyTilesOfRect(const CBlockImage &other, SPoint point, SExtent rect)
{
    if (!IsValid() || !other.IsValid() || other.tileSize_ != tileSize_ || other.bytesPerPixel_ != bytesPerPixel_)
        return false;
    if (!ClipCopy(point, rect, other.width_, other.height_, width_, height_))
        return false;
    const int32_t firstX = rect.x >> shift_, firstY = rect.y >> shift_;
    const int32_t lastX = (rect.x + rect.width - 1) >> shift_, lastY = (rect.y + rect.height - 1) >> shift_;
    const int32_t toX = point.x >> shift_, toY = point.y >> shift_;
    bool ok = true;
    for (int32_t by = firstY; by <= lastY; ++by)
        for (int32_t bx = firstX; bx <= lastX; ++bx) {
            const int32_t from = other.TileIndex(bx, by), to = TileIndex(toX + bx - firstX, toY + by - firstY);
            if (from < 0 || to < 0)
                continue;
            ok = CopyTile(other, from, to) && ok;
        }
    return ok;
}

} // namespace pv
