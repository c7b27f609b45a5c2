// CRingBuf: a ring of fixed-size elements split around a cursor into an undo side (the
// cursor slot and the elements behind it) and a redo side (the elements ahead). The event
// recorder keeps the start of every recorded step in one; when the undo side is full, a push
// overwrites the oldest element. CRingBufDWORD is the same ring of 32-bit values.
//
// No operation fails loudly: each returns false and leaves the ring unchanged when the ring
// has no memory or its counts do not allow the move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class CRingBuf {
public:
    explicit CRingBuf(size_t elementSize = 0) : elementSize_(elementSize) {}

    bool Allocate(size_t elementSize, size_t undoCapacity, size_t redoCapacity);
    bool Reset();
    bool SetFirst(const void *element);
    bool Push(const void *element);
    bool Pop();
    bool Undo();
    bool Redo();
    bool Current(void *element) const;
    bool Peek(ptrdiff_t k, void *element) const;
    size_t TakeRedoCount();
    bool Resize(size_t newUndoCapacity, size_t newRedoCapacity);

    size_t UndoCount() const { return undoCount_; }
    size_t RedoCount() const { return redoCount_; }
    size_t UndoCapacity() const { return undoCapacity_; }
    size_t RedoCapacity() const { return redoCapacity_; }
    size_t ElementSize() const { return elementSize_; }
    bool IsAllocated() const { return memory_ != nullptr; }

protected:
    const uint8_t *SlotAt(size_t slot) const { return memory_.get() + slot * elementSize_; }
    size_t CursorSlot() const { return cursor_; }

private:
    size_t Slots() const { return undoCapacity_ + redoCapacity_; }
    size_t Forward(size_t slot, size_t n = 1) const { return (slot + n) % Slots(); }
    size_t Back(size_t slot, size_t n = 1) const { return (slot + Slots() - n % Slots()) % Slots(); }
    uint8_t *SlotAt(size_t slot) { return memory_.get() + slot * elementSize_; }

    size_t elementSize_;
    size_t undoCapacity_ = 0;
    size_t redoCapacity_ = 0;
    std::unique_ptr<uint8_t[]> memory_;
    size_t cursor_ = 0;
    size_t undoCount_ = 0;
    size_t redoCount_ = 0;
};

class CRingBufDWORD : public CRingBuf {
public:
    CRingBufDWORD() : CRingBuf(4) {}

    bool Allocate(size_t undoCapacity, size_t redoCapacity) { return CRingBuf::Allocate(4, undoCapacity, redoCapacity); }
    bool SetFirst(uint32_t value) { return CRingBuf::SetFirst(&value); }
    bool Push(uint32_t value) { return CRingBuf::Push(&value); }
    bool Peek(ptrdiff_t k, uint32_t &value) const { return CRingBuf::Peek(k, &value); }
    bool Current(uint32_t &value) const { return CRingBuf::Current(&value); }
    // The cursor slot, whatever the undo count (0 when the ring has no memory).
    uint32_t ValueAtCursor() const;
};
