// The undo kind table, built from UndoKindList.def.
#include "document/UndoKinds.h"

namespace pv {
namespace {

struct UndoKindRow {
    UndoType type;
    uint16_t flags;
    const char *name;
};

constexpr UndoKindRow kRows[kUndoKindCount] = {
#define PV_UNDO_KIND(number, Name, Type, flags) {UndoType::Type, flags, #Name},
#include "document/UndoKindList.def"
#undef PV_UNDO_KIND
};

// The rows must be listed in kind order, so a kind indexes its row.
constexpr bool RowsInOrder()
{
    int expected = 0;
#define PV_UNDO_KIND(number, Name, Type, flags) if (number != expected++) return false;
#include "document/UndoKindList.def"
#undef PV_UNDO_KIND
    return expected == kUndoKindCount;
}
static_assert(RowsInOrder());

} // namespace

UndoType UndoTypeOf(int kind) { return kind >= 0 && kind < kUndoKindCount ? kRows[kind].type : UndoType::None; }
uint16_t UndoFlagsOf(int kind) { return kind >= 0 && kind < kUndoKindCount ? kRows[kind].flags : 0; }
const char *UndoKindName(int kind) { return kind >= 0 && kind < kUndoKindCount ? kRows[kind].name : "?"; }

} // namespace pv
