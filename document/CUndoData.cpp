// The undo record: what it weighs, how it is copied, and the region copies of region records.
#include "document/CUndoData.h"

#include "document/CLayerData.h"
#include "document/CLayerMngr.h"
#include "selection/CMaskMngr.h"

#include <new>

namespace pv {

UndoKeep::UndoKeep() = default;
UndoKeep::UndoKeep(UndoKeep &&) noexcept = default;
UndoKeep &UndoKeep::operator=(UndoKeep &&) noexcept = default;
UndoKeep::~UndoKeep() = default;

bool UndoKeep::Empty() const { return !layer && !other && layers.empty() && !stack && !masks && !mask; }

int64_t UndoKeep::MemoryUse() const
{
    int64_t bytes = 0;
    if (layer)
        bytes += layer->MemoryUse();
    if (other)
        bytes += other->MemoryUse();
    for (const auto &l : layers)
        bytes += l->MemoryUse();
    if (stack)
        bytes += stack->MemoryUse();
    if (masks)
        bytes += masks->MemoryUse();
    if (mask && mask->Image())
        bytes += mask->Image()->MemoryUse();
    return bytes;
}

CUndoData::CUndoData(UndoKind kind, int32_t layerIndex, int32_t layerSerial)
    : layerIndex(layerIndex), layerSerial(layerSerial), type(UndoTypeOf(int(kind))), kind(kind)
{
}

CUndoData::~CUndoData() = default;

bool CUndoData::IsHeavy() const { return HoldsPixels() || (UndoFlagsOf(int(kind)) & UndoFlag::Heavy) != 0; }

int64_t CUndoData::Size() const
{
    if (!valid)
        return 0;
    int64_t bytes = int64_t(raw.size()) + int64_t(numbers.size() * sizeof(int32_t)) + int64_t(oldName.size() + newName.size());
    if (pixels)
        bytes += pixels->MemoryUse();
    if (pixels2)
        bytes += pixels2->MemoryUse();
    return bytes + kept.MemoryUse();
}

namespace {

std::unique_ptr<CBlockVMTC> CopyImage(const CBlockVMTC *image, bool &ok)
{
    if (!image)
        return nullptr;
    auto copy = std::unique_ptr<CBlockVMTC>(new (std::nothrow) CBlockVMTC());
    if (!copy || !copy->CreateAsCopy(*image)) {
        ok = false;
        return nullptr;
    }
    return copy;
}

} // namespace

std::unique_ptr<CUndoData> CUndoData::Clone() const
{
    if (kept.layer || kept.other || !kept.layers.empty() || kept.stack || kept.masks)
        return nullptr;
    try {
        auto copy = std::make_unique<CUndoData>(kind, layerIndex, layerSerial);
        copy->valid = valid;
        copy->done = done;
        copy->rect = rect;
        bool ok = true;
        copy->pixels = CopyImage(pixels.get(), ok);
        copy->pixels2 = CopyImage(pixels2.get(), ok);
        if (kept.mask) {
            copy->kept.mask = kept.mask->Copy();
            ok = ok && copy->kept.mask;
        }
        if (!ok)
            return nullptr;
        copy->raw = raw;
        copy->numbers = numbers;
        copy->values = values;
        copy->oldName = oldName;
        copy->newName = newName;
        return copy;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

std::unique_ptr<CBlockVMTC> CopyRegionTiles(const CBlockVMTC &image, SExtent rect)
{
    // The copy starts at the tile holding the rectangle's corner, so whole tiles are copied
    // as they are and the untouched rest of the image costs nothing.
    const int32_t shift = image.TileShift();
    const int32_t x0 = (rect.x >> shift) << shift, y0 = (rect.y >> shift) << shift;
    auto copy = std::unique_ptr<CBlockVMTC>(new (std::nothrow) CBlockVMTC(rect.x + rect.width - x0, rect.y + rect.height - y0));
    if (!copy || !copy->IsValid() || !copy->CopyTilesOfRect(image, {0, 0}, {x0, y0, copy->Width(), copy->Height()}))
        return nullptr;
    return copy;
}

bool RestoreRegionTiles(CBlockVMTC &image, const CBlockVMTC &copy, SExtent rect)
{
    const int32_t shift = image.TileShift();
    const int32_t x0 = (rect.x >> shift) << shift, y0 = (rect.y >> shift) << shift;
    return image.CopyFrom(copy, {rect.x, rect.y}, {rect.x - x0, rect.y - y0, rect.width, rect.height});
}

} // namespace pv
