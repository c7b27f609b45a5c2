// Maps from 32-bit keys to 32-bit values behind opaque handles. Every live map is registered,
// so a handle is checked against the registry before it is used and a stale or foreign
// pointer is answered with "not a map" instead of being followed. Entries live in a dense
// array (positions of the iteration) with a hash index on the keys.
#include "pixkit.h"

#include "diagnostics.h"

#include <mutex>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

struct MapDD {
    std::vector<std::pair<uint32_t, uint32_t>> entries;
    std::unordered_map<uint32_t, size_t> index;   // key -> slot in entries
};

std::mutex registryMutex;
std::unordered_set<MapDD *> registry;

// The map behind a handle, or null; the registry stays locked while the caller works.
MapDD *Find(PixkitMapDD handle)
{
    auto *map = static_cast<MapDD *>(handle);
    return registry.count(map) != 0 ? map : nullptr;
}

} // namespace

extern "C" {

int mapDDCreate(PixkitMapDD *handle, int blockSize)
{
    if (handle == nullptr)
        return PIXKIT_EXCEPTION;
    *handle = nullptr;
    try {
        auto *map = new MapDD;
        if (blockSize > 0)
            map->index.reserve(static_cast<size_t>(blockSize));
        std::lock_guard lock(registryMutex);
        registry.insert(map);
        *handle = map;
        return PIXKIT_OK;
    } catch (const std::bad_alloc &) {
        pixkit::SetError(PIXKIT_EXCEPTION, "mapDDCreate: out of memory");
        return PIXKIT_EXCEPTION;
    } catch (...) {
        pixkit::SetError(PIXKIT_LIBRARY_EXCEPTION, "mapDDCreate: exception");
        return PIXKIT_LIBRARY_EXCEPTION;
    }
}

int mapDDIsValid(PixkitMapDD handle)
{
    std::lock_guard lock(registryMutex);
    return Find(handle) != nullptr ? PIXKIT_OK : PIXKIT_NOT_A_MAP;
}

int mapDDDestroy(PixkitMapDD handle)
{
    std::lock_guard lock(registryMutex);
    MapDD *map = Find(handle);
    if (map == nullptr)
        return PIXKIT_NOT_A_MAP;
    registry.erase(map);
    delete map;
    return PIXKIT_OK;
}

int mapDDLookup(PixkitMapDD handle, uint32_t key, uint32_t *value)
{
    std::lock_guard lock(registryMutex);
    MapDD *map = Find(handle);
    if (map == nullptr)
        return 0;
    const auto found = map->index.find(key);
    if (found == map->index.end())
        return 0;
    if (value != nullptr)
        *value = map->entries[found->second].second;
    return 1;
}

int mapDDSetAt(PixkitMapDD handle, uint32_t key, uint32_t value)
{
    std::lock_guard lock(registryMutex);
    MapDD *map = Find(handle);
    if (map == nullptr)
        return PIXKIT_NOT_A_MAP;
    try {
        const auto [slot, inserted] = map->index.try_emplace(key, map->entries.size());
        if (!inserted) {
            map->entries[slot->second].second = value;
            return PIXKIT_OK;
        }
        try {
            map->entries.emplace_back(key, value);
        } catch (...) {
            map->index.erase(slot);
            throw;
        }
        return PIXKIT_OK;
    } catch (const std::bad_alloc &) {
        return PIXKIT_EXCEPTION;
    } catch (...) {
        return PIXKIT_LIBRARY_EXCEPTION;
    }
}

int mapDDRemoveKey(PixkitMapDD handle, uint32_t key)
{
    std::lock_guard lock(registryMutex);
    MapDD *map = Find(handle);
    if (map == nullptr)
        return PIXKIT_NOT_A_MAP;
    const auto found = map->index.find(key);
    if (found == map->index.end())
        return PIXKIT_OK;
    // The last entry moves into the freed slot.
    const size_t slot = found->second;
    map->index.erase(found);
    if (slot + 1 != map->entries.size()) {
        map->entries[slot] = map->entries.back();
        map->index[map->entries[slot].first] = slot;
    }
    map->entries.pop_back();
    return PIXKIT_OK;
}

int mapDDRemoveAll(PixkitMapDD handle)
{
    std::lock_guard lock(registryMutex);
    MapDD *map = Find(handle);
    if (map == nullptr)
        return PIXKIT_NOT_A_MAP;
    map->entries.clear();
    map->index.clear();
    return PIXKIT_OK;
}

int mapDDGetCount(PixkitMapDD handle, int32_t *count)
{
    std::lock_guard lock(registryMutex);
    MapDD *map = Find(handle);
    if (map == nullptr)
        return PIXKIT_NOT_A_MAP;
    if (count != nullptr)
        *count = static_cast<int32_t>(map->entries.size());
    return PIXKIT_OK;
}

// Positions: -1 is the first entry, n > 0 the entry in slot n - 1, 0 the end.
intptr_t mapDDGetStartPosition(PixkitMapDD handle)
{
    std::lock_guard lock(registryMutex);
    MapDD *map = Find(handle);
    return map != nullptr && !map->entries.empty() ? -1 : 0;
}

int mapDDGetNextAssoc(PixkitMapDD handle, intptr_t *position, uint32_t *key, uint32_t *value)
{
    std::lock_guard lock(registryMutex);
    MapDD *map = Find(handle);
    if (map == nullptr || position == nullptr)
        return PIXKIT_NOT_A_MAP;
    const intptr_t slot = *position == -1 ? 0 : *position - 1;
    if (slot < 0 || static_cast<size_t>(slot) >= map->entries.size()) {
        *position = 0;
        return PIXKIT_NOT_A_MAP;
    }
    if (key != nullptr)
        *key = map->entries[slot].first;
    if (value != nullptr)
        *value = map->entries[slot].second;
    *position = static_cast<size_t>(slot) + 1 < map->entries.size() ? slot + 2 : 0;
    return PIXKIT_OK;
}

} // extern "C"
