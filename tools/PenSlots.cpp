// Pen slots and the current variant of each kind.
#include "tools/PenSlots.h"

#include "tools/PenVariants.h"

#include <algorithm>
#include <string>

namespace pv {

std::optional<int> PenSlots::SlotOfKind(int kind) const
{
    const auto it = std::find(kinds_.begin(), kinds_.end(), kind);
    if (it == kinds_.end())
        return std::nullopt;
    return int(it - kinds_.begin());
}

bool PenSlots::Restore(const SettingsStore &store)
{
    const auto current = store.ReadInt(kPenSettingKey, "curSlot");
    if (!current || *current < 0 || *current >= kSlots)
        return false;
    std::array<int, kSlots> kinds{};
    for (int i = 0; i < kSlots; ++i) {
        const auto kind = store.ReadInt(kPenSettingKey, "penSlot" + std::to_string(i));
        if (!kind || !IsValidPenKind(*kind) || !PenKindOf(uint8_t(*kind)).selectable ||
            std::find(kinds.begin(), kinds.begin() + i, *kind) != kinds.begin() + i)
            return false;
        kinds[i] = *kind;
    }
    kinds_ = kinds;
    currentSlot_ = *current;
    return true;
}

void PenSlots::Save(SettingsStore &store) const
{
    store.WriteInt(kPenSettingKey, "curSlot", currentSlot_);
    for (int i = 0; i < kSlots; ++i)
        store.WriteInt(kPenSettingKey, "penSlot" + std::to_string(i), kinds_[i]);
}

void PenSlots::ChooseSlot(int slot, TStroke &pen, const SettingsStore &store, bool playback)
{
    if (slot < 0 || slot >= kSlots)
        return;
    currentSlot_ = slot;
    const int kind = kinds_[slot];
    pen.SetKind(kind);
    LoadPenVariant(pen, store, kind, variants_[kind] + 1, !playback);
}

bool PenSlots::StepVariant(int delta, TStroke &pen, const SettingsStore &store)
{
    const int kind = kinds_[currentSlot_];
    const int variant = std::clamp(variants_[kind] + delta, 0, kPenVariants - 1);
    if (variant == variants_[kind])
        return false;
    ChooseVariant(variant, pen, store);
    return true;
}

void PenSlots::ChooseVariant(int variant, TStroke &pen, const SettingsStore &store)
{
    if (variant < 0 || variant >= kPenVariants)
        return;
    const int kind = kinds_[currentSlot_];
    variants_[kind] = variant;
    LoadPenVariant(pen, store, kind, variant + 1, true);
}

PenSlots::Key PenSlots::ActionForKey(char key, bool ctrlOrShift)
{
    if (ctrlOrShift)
        return {};
    constexpr char kSlotKeys[] = "ASDFG";
    const char upper = (key >= 'a' && key <= 'z') ? char(key - 'a' + 'A') : key;
    for (int i = 0; i < kSlots; ++i)
        if (upper == kSlotKeys[i])
            return {KeyAction::ChooseSlot, i};
    if (upper == 'E')
        return {KeyAction::PreviousVariant, 0};
    if (upper == 'R')
        return {KeyAction::NextVariant, 0};
    return {};
}

} // namespace pv
