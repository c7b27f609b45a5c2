// The settings store's non-inline operations.
#include "platform/SettingsStore.h"

namespace pv {

void SettingsStore::RemoveValue(const std::string &key, const std::string &name)
{
    const auto k = keys_.find(key);
    if (k != keys_.end())
        k->second.erase(name);
}

} // namespace pv
