// The map wrapper over pixkit's map exports.
#include "events/CMapDD.h"

#include "pixkit.h"

namespace pv::events {

CMapDD::CMapDD(int blockSize)
{
    PixkitMapDD map = nullptr;
    lastResult_ = mapDDCreate(&map, blockSize);
    if (lastResult_ == PIXKIT_OK)
        map_ = map;
}

CMapDD::~CMapDD()
{
    if (map_)
        mapDDDestroy(map_);
}

bool CMapDD::Keep(int result)
{
    lastResult_ = result;
    return result == PIXKIT_OK;
}

bool CMapDD::Lookup(uint32_t key, uint32_t &value) const
{
    return map_ && mapDDLookup(map_, key, &value) == 1;
}

bool CMapDD::Contains(uint32_t key) const
{
    uint32_t value = 0;
    return Lookup(key, value);
}

bool CMapDD::Set(uint32_t key, uint32_t value) { return map_ && Keep(mapDDSetAt(map_, key, value)); }
bool CMapDD::Remove(uint32_t key) { return map_ && Keep(mapDDRemoveKey(map_, key)); }
bool CMapDD::RemoveAll() { return map_ && Keep(mapDDRemoveAll(map_)); }

int32_t CMapDD::Count() const
{
    int32_t count = 0;
    if (map_)
        mapDDGetCount(map_, &count);
    return count;
}

} // namespace pv::events
