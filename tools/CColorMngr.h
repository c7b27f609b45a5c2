// CColorMngr: the owner of the application pen's two colours.
#pragma once

#include "tools/TStroke.h"

#include <cstdint>
#include <functional>

namespace pv {

// The application pen's two colours. Setting a colour that equals the old one in its low
// 24 bits does nothing unless forced; a change goes to the pen and to the listener, which
// refreshes the colour windows, the gradation's two-colour entry and the palette selection.
class CColorMngr {
public:
    enum Which { kColor, kSubColor };

    explicit CColorMngr(TStroke &pen) : pen_(pen) {}
    std::function<void(Which)> onChange;

    uint32_t color() const { return pen_.color(); }
    uint32_t subColor() const { return pen_.subColor(); }
    bool Set(Which which, uint32_t colour, bool force = false);
    void Exchange();

private:
    TStroke &pen_;
};

} // namespace pv
