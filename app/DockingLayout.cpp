// Reading and writing the docking layout.
#include "app/DockingLayout.h"

#include <algorithm>
#include <string>

namespace pv {
namespace {

constexpr char kDocking[] = "docking";

std::string SiteKey(size_t i)
{
    return std::string(kDocking) + "\\dockSite" + std::to_string(i);
}

} // namespace

bool DockingLayout::Load(const SettingsStore &store, int32_t dockSiteCount, DockingLayout &layout)
{
    const auto count = store.ReadInt(kDocking, "siteCount");
    if (!count || *count != dockSiteCount || *count < 0 || *count > 64)
        return false;
    DockingLayout read;
    std::vector<bool> docked(kMaxClientId + 1, false);
    for (int32_t i = 0; i < *count; ++i) {
        const std::string key = SiteKey(i);
        DockSite site;
        auto get = [&](const char *name, int32_t &field) {
            if (const auto v = store.ReadInt(key, name))
                field = *v;
        };
        get("siteX", site.x);
        get("siteY", site.y);
        get("siteW", site.w);
        get("siteH", site.h);
        get("siteActive", site.active);
        if (const auto v = store.ReadInt(key, "siteVis"))
            site.visible = *v != 0;
        const int32_t clients = std::clamp(store.ReadInt(key, "clientCount").value_or(0), 0, kMaxClientId + 1);
        for (int32_t n = 0; n < clients; ++n) {
            const auto id = store.ReadInt(key, "clientID" + std::to_string(n));
            if (!id || *id < 0 || *id > kMaxClientId || docked[*id])
                continue;
            docked[*id] = true;
            site.clients.push_back(*id);
        }
        read.sites.push_back(std::move(site));
    }
    layout = std::move(read);
    return true;
}

int32_t DockingLayout::Save(SettingsStore &store) const
{
    store.WriteInt(kDocking, "siteCount", int32_t(sites.size()));
    for (size_t i = 0; i < sites.size(); ++i) {
        const std::string key = SiteKey(i);
        const DockSite &site = sites[i];
        store.WriteInt(key, "siteX", site.x);
        store.WriteInt(key, "siteY", site.y);
        store.WriteInt(key, "siteW", site.w);
        store.WriteInt(key, "siteH", site.h);
        store.WriteInt(key, "siteActive", site.active);
        store.WriteInt(key, "siteVis", site.visible);
        store.WriteInt(key, "clientCount", int32_t(site.clients.size()));
        for (size_t n = 0; n < site.clients.size(); ++n)
            store.WriteInt(key, "clientID" + std::to_string(n), site.clients[n]);
    }
    return int32_t(sites.size());
}

} // namespace pv
