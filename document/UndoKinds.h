// Undo kinds and record types, with the lookups derived from UndoKindList.def.
#pragma once

#include <cstdint>

namespace pv {

// How a record is stored and applied.
enum class UndoType : uint8_t { None = 0, Region = 1, Alpha = 2, Transform = 3, Attribute = 4, Structure = 5, Mask = 6 };

enum class UndoKind : uint8_t {
#define PV_UNDO_KIND(number, Name, Type, flags) Name = number,
#include "document/UndoKindList.def"
#undef PV_UNDO_KIND
};

constexpr int kUndoKindCount = 55;

// Bits of a kind's flag word. Heavy and OwnsRawBlock matter to the undo lists; the others
// tell the paper what to refresh after a record was applied.
namespace UndoFlag {
constexpr uint16_t LayerListChanged = 0x0001;
constexpr uint16_t WholeCanvas = 0x0002;
constexpr uint16_t CanvasSizeChanged = 0x0004;
constexpr uint16_t RefreshActiveImage = 0x0008;
constexpr uint16_t Heavy = 0x0010;
constexpr uint16_t OwnsRawBlock = 0x0020;
constexpr uint16_t RefreshLayerWindow = 0x0040;
constexpr uint16_t MasksChanged = 0x0080;
constexpr uint16_t ClipMasksToPaper = 0x0100;
constexpr uint16_t KeepActiveLayer = 0x0200;
constexpr uint16_t KeepWorkImage = 0x0400;
constexpr uint16_t RefreshChangedTiles = 0x0800;
constexpr uint16_t NoPixelRefresh = 0x1000;
} // namespace UndoFlag

// None and 0 for a number outside 0..54.
UndoType UndoTypeOf(int kind);
uint16_t UndoFlagsOf(int kind);
const char *UndoKindName(int kind);

} // namespace pv
