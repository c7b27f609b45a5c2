// The undo list.
#include "document/CUndoList.h"

#include <algorithm>
#include <new>

namespace pv {

CUndoList::CUndoList(int32_t capacity, bool grows) : capacity_(std::max(capacity, 4)), grows_(grows) {}

void CUndoList::SetCapacity(int32_t capacity) { capacity_ = std::max(capacity, 4); }

int32_t CUndoList::HeavyCount() const
{
    return int32_t(std::count_if(records_.begin(), records_.end(), [](const auto &r) { return r->IsHeavy(); }));
}

int64_t CUndoList::MemoryUsed() const
{
    int64_t bytes = 0;
    for (const auto &r : records_)
        bytes += r->Size();
    return bytes;
}

bool CUndoList::Insert(std::unique_ptr<CUndoData> record)
{
    if (!record)
        return false;
    if (!grows_)
        while (Count() >= capacity_)
            DeleteOldest();
    try {
        records_.push_front(std::move(record));
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

std::unique_ptr<CUndoData> CUndoList::TakeNewest()
{
    if (records_.empty())
        return nullptr;
    auto record = std::move(records_.front());
    records_.pop_front();
    return record;
}

void CUndoList::DeleteOldest()
{
    if (!records_.empty())
        records_.pop_back();
}

} // namespace pv
