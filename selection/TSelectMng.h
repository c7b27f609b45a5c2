// TSelectMng: the selection slots of the previous generation's recordings — 32 slots, each
// an 8-bit channel of the paper's size with a small thumbnail and an outline. Only replays of
// those recordings select into them; the paper keeps them sized with itself.
#pragma once

#include "raster/ImageRect.h"
#include "raster/TChannel.h"
#include "raster/TMTC.h"

#include <array>
#include <memory>
#include <vector>

namespace pv {

struct TSelectSlot {
    TChannel channel;
    TMTC thumbnail;
    std::vector<SPoint> outline;
    bool empty = true;
};

class TSelectMng {
public:
    static constexpr int kSlots = 32;
    static constexpr int32_t kThumbnailSide = 48;

    // Null when slot 0 cannot be made.
    static std::unique_ptr<TSelectMng> Create(int32_t width, int32_t height);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // The slot, made on first use (zeroed, white thumbnail); null outside 0..31 or without
    // memory.
    TSelectSlot *Slot(int index);
    bool HasSlot(int index) const { return index >= 0 && index < kSlots && slots_[size_t(index)] != nullptr; }
    void ClearSlot(int index);
    // Every slot in use gets a zeroed channel of the new size and a fitted thumbnail.
    bool Resize(int32_t width, int32_t height);

private:
    TSelectMng(int32_t width, int32_t height) : width_(width), height_(height) {}
    bool Shape(TSelectSlot &slot) const;

    int32_t width_, height_;
    std::array<std::unique_ptr<TSelectSlot>, kSlots> slots_;
};

} // namespace pv
