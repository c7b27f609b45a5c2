// A small picture for the undo tests: a stack of 64 x 64 layers (four tiles each), a mask
// list, a paper colour and selection switches behind the paper interface the undo manager
// uses, and the paper's manager wired to them.
#pragma once

#include "StackFixtures.h"
#include "document/CUndoMngrEx.h"
#include "document/UndoPaper.h"
#include "selection/CMaskMngr.h"

#include <memory>
#include <string>
#include <vector>

namespace pv::test {

class FakePaper : public UndoPaper {
public:
    static constexpr int32_t kSide = 64;

    explicit FakePaper(int layers = 2, int32_t undoCount = 8)
        : stack(std::make_unique<CLayerMngr>()), masks(std::make_unique<CMaskMngr>(kSide, kSide))
    {
        stack->SetPaperSize(kSide, kSide);
        for (int i = 0; i < layers; ++i)
            stack->AppendLayer(kSide, kSide, kNormalMode, false, 255, true);
        undo.Create(this, CUndoMngrEx::kSlack, undoCount, undoCount, stack.get());
    }

    uint32_t PaperColour() const override { return colour; }
    void SetPaperColour(uint32_t c) override { colour = c; }
    CMaskMngr &Masks() override { return *masks; }
    uint8_t SelectionFlags() const override { return flags; }
    void SetSelectionFlags(uint8_t f) override { flags = f; }
    std::unique_ptr<CLayerMngr> ExchangeLayerStack(std::unique_ptr<CLayerMngr> s) override
    {
        std::swap(stack, s);
        masks->SetPaperSize(stack->PaperWidth(), stack->PaperHeight());
        return s;
    }
    std::unique_ptr<CMaskMngr> ExchangeMasks(std::unique_ptr<CMaskMngr> m) override
    {
        std::swap(masks, m);
        return m;
    }
    bool RotateCanvas(bool clockwise) override
    {
        turns.push_back(clockwise);
        stack->SetPaperSize(stack->PaperHeight(), stack->PaperWidth());
        return true;
    }
    void MasksChanged() override { ++maskRefreshes; }

    CLayerData &Layer(int32_t i) const { return *stack->At(i); }
    CBlockVMTC &Image(int32_t i) const { return *stack->At(i)->Image(); }

    // A region record of kind 3, then the rectangle painted: what a pen stroke does.
    bool Stroke(int32_t layer, SExtent rect, uint32_t colour)
    {
        const bool pushed = undo.PushRegionRecord(Layer(layer), rect, UndoKind::Stroke);
        Image(layer).MaskedFill(rect, 0xFFFFFFFF, colour);
        return pushed;
    }
    bool Undo()
    {
        int32_t index = stack->Active();
        UndoKind kind{};
        SEdgeRect rect;
        return stack->UndoStep(undo, index, kind, rect);
    }
    bool Redo()
    {
        int32_t index = stack->Active();
        UndoKind kind{};
        SEdgeRect rect;
        return stack->RedoStep(undo, index, kind, rect);
    }

    std::unique_ptr<CLayerMngr> stack;
    std::unique_ptr<CMaskMngr> masks;
    uint32_t colour = 0x00FFFFFF;
    uint8_t flags = 0;
    std::vector<bool> turns;
    int maskRefreshes = 0;
    CUndoMngrEx undo; // declared last: destroyed first, while the picture still exists
};

inline std::vector<uint32_t> Pixels(const CBlockVMTC &image)
{
    std::vector<uint32_t> p;
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x)
            p.push_back(image.Pixel(x, y));
    return p;
}

} // namespace pv::test
