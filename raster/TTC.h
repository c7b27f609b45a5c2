// TTC: the 32-bit colour image that the shell shows in a window. Rows are bottom-up (row 0
// is the last row in memory) in plain memory; the shell wraps the block to paint it. The
// own-device-context flag is kept as data for the callers that choose a drawing path by it.
#pragma once

#include "raster/TMTC.h"

#include <string>

namespace pv {

class TTC : public TMTC {
public:
    TTC() = default;
    explicit TTC(bool ownDeviceContext);
    TTC(int32_t width, int32_t height, bool ownDeviceContext = true);
    ~TTC() override;

    void Init() override;
    // A size of 0 is raised to 1 on either side; the same-size shortcut is taken only by a
    // valid image (an image whose allocation failed reallocates).
    bool Resize(int32_t width, int32_t height) override;
    int32_t RowStep() const override { return -width_; }

    bool OwnDeviceContext() const { return ownDeviceContext_; }

    // Every pixel = the 0x00BBGGRR colour with red and blue exchanged, alpha 0.
    void FillWindowsColour(uint32_t colorRef);
    // A one-pixel frame of the 0x00BBGGRR colour (alpha 0) along the rectangle's edges.
    bool FrameRect(SExtent rect, uint32_t colorRef);

private:
    bool ownDeviceContext_ = true;
};

} // namespace pv
