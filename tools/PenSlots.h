// The pen window's five slots (each holding one selectable kind) and the current variant of
// every kind, with their storage in "penSetting" ("curSlot", "penSlot0".."penSlot4") and the
// keys that choose slots and variants.
#pragma once

#include "platform/SettingsStore.h"
#include "tools/TStroke.h"

#include <array>
#include <optional>

namespace pv {

class PenSlots {
public:
    static constexpr int kSlots = 5;

    int currentSlot() const { return currentSlot_; }
    int kindInSlot(int slot) const { return kinds_[slot]; }
    int currentVariant(int kind) const { return variants_[kind]; } // 0..4; stored as 1..5
    // The slot that holds a kind, if any.
    std::optional<int> SlotOfKind(int kind) const;

    // Restores the stored slots when they are valid as a whole: "curSlot" in 0..4 and five
    // different selectable kinds; otherwise the defaults stay. Returns whether they were taken.
    bool Restore(const SettingsStore &store);
    void Save(SettingsStore &store) const;

    // Makes the slot current, gives the pen its kind and loads the kind's current variant
    // (with reset unless the canvas is replaying a recording).
    void ChooseSlot(int slot, TStroke &pen, const SettingsStore &store, bool playback);
    // Moves the current kind's variant by delta (bounded to 0..4); loads it with reset and
    // returns true when it changed.
    bool StepVariant(int delta, TStroke &pen, const SettingsStore &store);
    void ChooseVariant(int variant, TStroke &pen, const SettingsStore &store);

    enum class KeyAction { None, ChooseSlot, PreviousVariant, NextVariant };
    struct Key {
        KeyAction action = KeyAction::None;
        int slot = 0;
    };
    // "A".."G" choose slots, "E" and "R" step the variant; nothing while Ctrl or Shift is held.
    static Key ActionForKey(char key, bool ctrlOrShift);

private:
    std::array<int, kSlots> kinds_{kPenPencil, kPenWatercolour, kPenBlur, kPenEraser, kPenAirbrush};
    std::array<int, kPenKindCount> variants_{};
    int currentSlot_ = 0;
};

} // namespace pv
