// UndoPaper: what applying undo records needs of the paper beyond its layer stack — the paper
// colour, the mask list, the selection switches, whole-stack exchanges and the canvas quarter
// turn. The paper implements it; tests use a small fake.
#pragma once

#include <cstdint>
#include <memory>

namespace pv {

class CLayerMngr;
class CMaskMngr;

class UndoPaper {
public:
    // Bits of SelectionFlags.
    static constexpr uint8_t kSelectionVisible = 1, kSelectionEnabled = 2;

    virtual ~UndoPaper() = default;

    virtual uint32_t PaperColour() const = 0;
    virtual void SetPaperColour(uint32_t colour) = 0;
    virtual CMaskMngr &Masks() = 0;
    virtual uint8_t SelectionFlags() const = 0;
    virtual void SetSelectionFlags(uint8_t flags) = 0;
    // The paper takes the stack, sets its size from the stack's paper size, resizes its
    // composite, and hands back the stack it had.
    virtual std::unique_ptr<CLayerMngr> ExchangeLayerStack(std::unique_ptr<CLayerMngr> stack) = 0;
    virtual std::unique_ptr<CMaskMngr> ExchangeMasks(std::unique_ptr<CMaskMngr> masks) = 0;
    // Every layer and the canvas turned a quarter, without recording anything.
    virtual bool RotateCanvas(bool clockwise) = 0;
    // The mask list or the current mask changed behind the selection window's back.
    virtual void MasksChanged() = 0;
};

} // namespace pv
