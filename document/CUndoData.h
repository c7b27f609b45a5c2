// CUndoData: one undo record — the rectangle and layer it belongs to, the pixels or values it
// keeps, and the objects an operation took out of the picture.
//
// Kept objects are held by owning pointers only while they are outside the picture: a layer
// or mask that is back in its stack or list is found again by its serial, so no object is ever
// owned twice and none is left dangling, in whatever order records are pushed, applied,
// trimmed or destroyed.
#pragma once

#include "document/UndoKinds.h"
#include "raster/CBlockVMTC.h"
#include "raster/ImageRect.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace pv {

class CLayerData;
class CLayerMngr;
class CMaskData;
class CMaskMngr;

// Objects of the picture a record holds while they are out of it.
struct UndoKeep {
    UndoKeep();
    UndoKeep(UndoKeep &&) noexcept;
    UndoKeep &operator=(UndoKeep &&) noexcept;
    ~UndoKeep();

    std::unique_ptr<CLayerData> layer;
    std::unique_ptr<CLayerData> other;                // the second layer of a merge down
    std::vector<std::unique_ptr<CLayerData>> layers;  // the layers of a merge of all visible ones
    std::unique_ptr<CLayerMngr> stack;
    std::unique_ptr<CMaskMngr> masks;
    std::unique_ptr<CMaskData> mask;

    bool Empty() const;
    int64_t MemoryUse() const;
};

using UndoValues = std::array<int32_t, 4>;

class CUndoData {
public:
    CUndoData(UndoKind kind, int32_t layerIndex, int32_t layerSerial);
    CUndoData(const CUndoData &) = delete;
    CUndoData &operator=(const CUndoData &) = delete;
    ~CUndoData();

    bool valid = true;
    bool done = false; // flipped by every apply: clear while the record can be undone
    SExtent rect;
    int32_t layerIndex = 0;
    int32_t layerSerial = -1; // -1: the record belongs to the paper
    std::unique_ptr<CBlockVMTC> pixels;
    UndoType type;
    UndoKind kind;
    std::unique_ptr<CBlockVMTC> pixels2;
    std::vector<uint8_t> raw; // alpha plane, visible flags: one byte per pixel or layer
    UndoKeep kept;
    // The kind's own list: the serials a visible-layers transform changed, the stack positions
    // the layers of a merge of all visible ones came from.
    std::vector<int32_t> numbers;
    UndoValues values{};
    std::string oldName, newName;

    bool HoldsPixels() const { return pixels != nullptr || pixels2 != nullptr; }
    // Heavy records are the ones the undo count limits.
    bool IsHeavy() const;
    // Bytes held: pixel tiles, raw bytes, names and kept objects.
    int64_t Size() const;
    // A deep copy; null when the record keeps layers or stacks (they belong to one picture's
    // history) or memory runs out.
    std::unique_ptr<CUndoData> Clone() const;
};

// The pixels of a rectangle of an image, copied tile by tile into a block image covering the
// rectangle's tiles only; null when memory runs out. The rectangle must lie inside the image.
std::unique_ptr<CBlockVMTC> CopyRegionTiles(const CBlockVMTC &image, SExtent rect);
// Writes a rectangle back from such a copy.
bool RestoreRegionTiles(CBlockVMTC &image, const CBlockVMTC &copy, SExtent rect);

} // namespace pv
