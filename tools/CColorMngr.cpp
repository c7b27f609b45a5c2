// Setting and exchanging the pen's two colours.
#include "tools/CColorMngr.h"

namespace pv {

bool CColorMngr::Set(Which which, uint32_t colour, bool force)
{
    const uint32_t old = which == kColor ? pen_.color() : pen_.subColor();
    if (!force && ((old ^ colour) & 0xFFFFFF) == 0)
        return false;
    if (which == kColor)
        pen_.SetColor(colour);
    else
        pen_.SetSubColor(colour);
    if (onChange)
        onChange(which);
    return true;
}

void CColorMngr::Exchange()
{
    const uint32_t c = pen_.color();
    pen_.SetColor(pen_.subColor());
    pen_.SetSubColor(c);
    if (onChange) {
        onChange(kColor);
        onChange(kSubColor);
    }
}

} // namespace pv
