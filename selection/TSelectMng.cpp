// The legacy selection slots.
#include "selection/TSelectMng.h"

#include <algorithm>
#include <new>

namespace pv {

std::unique_ptr<TSelectMng> TSelectMng::Create(int32_t width, int32_t height)
{
    auto manager = std::unique_ptr<TSelectMng>(new (std::nothrow) TSelectMng(width, height));
    if (!manager || !manager->Slot(0))
        return nullptr;
    return manager;
}

bool TSelectMng::Shape(TSelectSlot &slot) const
{
    // The thumbnail's longer side is 48, the shorter one scaled, plus one.
    const int64_t w = std::max(width_, 1), h = std::max(height_, 1);
    const int32_t tw = w >= h ? kThumbnailSide : int32_t(kThumbnailSide * w / h + 1);
    const int32_t th = w >= h ? int32_t(kThumbnailSide * h / w + 1) : kThumbnailSide;
    if (!slot.channel.Resize(std::max(width_, 1), std::max(height_, 1)) || !slot.thumbnail.Resize(tw, th))
        return false;
    slot.channel.Fill(0);
    slot.thumbnail.Fill(0x00FFFFFF);
    slot.outline.clear();
    return true;
}

TSelectSlot *TSelectMng::Slot(int index)
{
    if (index < 0 || index >= kSlots)
        return nullptr;
    std::unique_ptr<TSelectSlot> &slot = slots_[size_t(index)];
    if (!slot) {
        auto made = std::unique_ptr<TSelectSlot>(new (std::nothrow) TSelectSlot);
        if (!made || !Shape(*made))
            return nullptr;
        slot = std::move(made);
    }
    return slot.get();
}

void TSelectMng::ClearSlot(int index)
{
    if (!HasSlot(index))
        return;
    TSelectSlot &slot = *slots_[size_t(index)];
    slot.channel.Fill(0);
    slot.thumbnail.Fill(0x00FFFFFF);
    slot.outline.clear();
    slot.empty = true;
}

bool TSelectMng::Resize(int32_t width, int32_t height)
{
    width_ = width;
    height_ = height;
    bool ok = true;
    for (auto &slot : slots_)
        if (slot) {
            ok = Shape(*slot) && ok;
            slot->empty = true;
        }
    return ok;
}

} // namespace pv
