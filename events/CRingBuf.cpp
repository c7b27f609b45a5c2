// The step ring's operations. Resizing keeps the newest undo elements and the oldest redo
// elements, so the steps nearest the cursor survive.
#include "events/CRingBuf.h"

#include <algorithm>
#include <cstring>
#include <new>

bool CRingBuf::Allocate(size_t elementSize, size_t undoCapacity, size_t redoCapacity)
{
    if (elementSize < 1 || undoCapacity < 1)
        return false;
    const size_t slots = undoCapacity + redoCapacity;
    if (slots < undoCapacity || slots > SIZE_MAX / elementSize)
        return false;
    memory_.reset();
    memory_.reset(new (std::nothrow) uint8_t[elementSize * slots]());
    if (!memory_) {
        undoCapacity_ = redoCapacity_ = 0;
        cursor_ = undoCount_ = redoCount_ = 0;
        return false;
    }
    elementSize_ = elementSize;
    undoCapacity_ = undoCapacity;
    redoCapacity_ = redoCapacity;
    cursor_ = undoCount_ = redoCount_ = 0;
    return true;
}

bool CRingBuf::Reset()
{
    if (!memory_)
        return false;
    cursor_ = undoCount_ = redoCount_ = 0;
    return true;
}

bool CRingBuf::SetFirst(const void *element)
{
    if (!memory_)
        return false;
    std::memcpy(SlotAt(cursor_), element, elementSize_);
    if (undoCount_ == 0)
        undoCount_ = 1;
    return true;
}

bool CRingBuf::Push(const void *element)
{
    if (!memory_)
        return false;
    cursor_ = Forward(cursor_);
    std::memcpy(SlotAt(cursor_), element, elementSize_);
    undoCount_ = std::min(undoCount_ + 1, undoCapacity_);
    redoCount_ = 0;
    return true;
}

bool CRingBuf::Pop()
{
    if (!Undo())
        return false;
    redoCount_ = 0; // unlike undo, the popped element is forgotten
    return true;
}

bool CRingBuf::Undo()
{
    if (!memory_ || undoCount_ < 1)
        return false;
    cursor_ = Back(cursor_);
    --undoCount_;
    ++redoCount_;
    return true;
}

bool CRingBuf::Redo()
{
    if (!memory_ || redoCount_ < 1)
        return false;
    cursor_ = Forward(cursor_);
    ++undoCount_;
    --redoCount_;
    return true;
}

bool CRingBuf::Current(void *element) const
{
    return Peek(0, element);
}

bool CRingBuf::Peek(ptrdiff_t k, void *element) const
{
    if (!memory_ || undoCount_ == 0)
        return false;
    size_t slot = cursor_;
    if (k < 0) {
        const size_t back = static_cast<size_t>(-k);
        if (back > undoCount_ - 1)
            return false;
        slot = Back(cursor_, back);
    } else if (k > 0) {
        if (static_cast<size_t>(k) > redoCount_)
            return false;
        slot = Forward(cursor_, static_cast<size_t>(k));
    }
    std::memcpy(element, SlotAt(slot), elementSize_);
    return true;
}

size_t CRingBuf::TakeRedoCount()
{
    const size_t count = redoCount_;
    redoCount_ = 0;
    return count;
}

bool CRingBuf::Resize(size_t newUndoCapacity, size_t newRedoCapacity)
{
    if (newUndoCapacity == undoCapacity_ && newRedoCapacity == redoCapacity_)
        return true;
    if (newUndoCapacity < 1 || elementSize_ < 1)
        return false;
    const size_t keptUndo = std::min(undoCount_, newUndoCapacity);
    const size_t keptRedo = std::min(redoCount_, newRedoCapacity);
    if (keptRedo > 0 && keptUndo < 1)
        return false;
    const size_t slots = newUndoCapacity + newRedoCapacity;
    if (slots < newUndoCapacity || slots > SIZE_MAX / elementSize_)
        return false;
    std::unique_ptr<uint8_t[]> memory(new (std::nothrow) uint8_t[elementSize_ * slots]());
    if (!memory)
        return false;
    size_t copied = 0;
    if (memory_ && keptUndo > 0) {
        size_t slot = Back(cursor_, keptUndo - 1);
        for (size_t i = 0; i < keptUndo + keptRedo; ++i, slot = Forward(slot))
            std::memcpy(memory.get() + copied++ * elementSize_, SlotAt(slot), elementSize_);
    }
    memory_ = std::move(memory);
    undoCapacity_ = newUndoCapacity;
    redoCapacity_ = newRedoCapacity;
    undoCount_ = keptUndo;
    redoCount_ = keptRedo;
    cursor_ = keptUndo > 0 ? keptUndo - 1 : 0;
    return true;
}

uint32_t CRingBufDWORD::ValueAtCursor() const
{
    if (!IsAllocated())
        return 0;
    uint32_t value;
    std::memcpy(&value, SlotAt(CursorSlot()), 4);
    return value;
}
