// Vector row loops of the compose routines: none yet; every mode runs its inlined scalar loop.
#include "raster/ComposeRows.h"

namespace pv {

bool ComposeRowVector(PaintRoutine, uint32_t *, const uint32_t *, int32_t, int)
{
    return false;
}

} // namespace pv
