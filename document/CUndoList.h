// CUndoList: undo records, newest at index 0. A list without the growth flag holds at most
// its capacity and makes room for a new record by deleting the oldest.
#pragma once

#include "document/CUndoData.h"

#include <deque>
#include <memory>

namespace pv {

class CUndoList {
public:
    CUndoList(int32_t capacity = 4, bool grows = false);

    int32_t Capacity() const { return capacity_; }
    void SetCapacity(int32_t capacity);
    bool Grows() const { return grows_; }
    void SetGrows(bool grows) { grows_ = grows; }

    int32_t Count() const { return int32_t(records_.size()); }
    bool Empty() const { return records_.empty(); }
    CUndoData *At(int32_t i) const { return i >= 0 && i < Count() ? records_[size_t(i)].get() : nullptr; }
    CUndoData *Newest() const { return At(0); }
    int32_t HeavyCount() const;
    int64_t MemoryUsed() const;

    // False (the record freed) when memory runs out.
    bool Insert(std::unique_ptr<CUndoData> record);
    std::unique_ptr<CUndoData> TakeNewest();
    void DeleteOldest();
    void Clear() { records_.clear(); }

private:
    std::deque<std::unique_ptr<CUndoData>> records_;
    int32_t capacity_;
    bool grows_;
};

} // namespace pv
