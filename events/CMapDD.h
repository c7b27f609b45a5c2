// CMapDD: a map from 32-bit keys to 32-bit values kept by pixkit (mapDD*), owned by this
// object. The recorder maps tone pattern identifiers to the stream offsets of their
// definitions. Every operation reports false when the map could not be created.
#pragma once

#include <cstdint>

namespace pv::events {

class CMapDD {
public:
    explicit CMapDD(int blockSize = 10);
    ~CMapDD();
    CMapDD(const CMapDD &) = delete;
    CMapDD &operator=(const CMapDD &) = delete;

    bool IsValid() const { return map_ != nullptr; }
    bool Lookup(uint32_t key, uint32_t &value) const;
    bool Contains(uint32_t key) const;
    bool Set(uint32_t key, uint32_t value);
    bool Remove(uint32_t key);
    bool RemoveAll();
    int32_t Count() const;
    int LastResult() const { return lastResult_; }

private:
    bool Keep(int result);

    void *map_ = nullptr;
    int lastResult_ = 0;
};

} // namespace pv::events
