// TChannel: an 8-bit single-channel image (masks, pen tips, tone cells, selection work
// areas), bottom-up in one heap block of width x height bytes without row padding.
#pragma once

#include "raster/CDibCore.h"
#include "raster/ImageRect.h"

namespace pv {

using ChannelOp = void (*)(uint8_t *pixel, uint8_t value);
using ChannelEdgeVisitor = void (*)(uint8_t *pixel, int edge);

class TChannel : public CDibCore {
public:
    TChannel() = default;
    TChannel(int32_t width, int32_t height);
    ~TChannel() override;

    bool Resize(int32_t width, int32_t height) override;
    int64_t ByteSize() const override;
    int BytesPerPixel() const override { return 1; }
    int32_t RowStep() const override { return -width_; }

    uint8_t &At(int32_t x, int32_t y) const { return Row(y)[x]; }
    uint8_t ClampedAt(int32_t x, int32_t y) const;

    // Exact mix of value into the pixel; nothing and false outside the image.
    bool SetWeighted(int32_t x, int32_t y, uint8_t value, uint8_t weight);
    // The same with the table mix.
    bool SetWeightedByTable(int32_t x, int32_t y, uint8_t weight, uint8_t value);

    void Fill(uint8_t value);
    bool FillRect(SExtent rect, uint8_t value);
    bool XorRect(SExtent rect, uint8_t value);
    bool Apply(SExtent rect, ChannelOp op, uint8_t value);

    // Analyses (ChannelAnalysis.cpp).
    bool BoundingBox(SEdgeRect &out) const;
    void MarkEdges(ChannelEdgeVisitor visitor);
    void OutlineRing(uint8_t inside, uint8_t ring);
};

// The standard edge visitor: interior pixels become 255, edge pixels stay.
void SetInteriorTo255(uint8_t *pixel, int edge);

bool CopyChannelRect(TChannel &dest, const TChannel &source, SPoint point, SExtent rect);
bool CombineChannel(TChannel &dest, const TChannel &source, SPoint point, SExtent rect, ChannelOp op);

} // namespace pv
