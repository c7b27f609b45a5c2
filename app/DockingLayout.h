// The docking layout of the tool windows: the sites with their placement and the tool
// windows (client ids 0..11) docked in each, stored under "docking". It is restored only when
// its site count matches the count the window section saved with it.
#pragma once

#include "platform/SettingsStore.h"

#include <cstdint>
#include <vector>

namespace pv {

struct DockSite {
    int32_t x = 0, y = 0, w = 0, h = 0;
    int32_t active = 0;
    bool visible = true;
    std::vector<int32_t> clients; // tool-window ids 0..11, each docked at most once
};

struct DockingLayout {
    static constexpr int32_t kMaxClientId = 11;
    std::vector<DockSite> sites;

    // The stored layout when "siteCount" equals dockSiteCount; client ids outside 0..11 and
    // repeated ids are left out. Nothing when the layout does not match.
    static bool Load(const SettingsStore &store, int32_t dockSiteCount, DockingLayout &layout);
    // Writes the layout and returns the number of sites written (the new dockSiteCount).
    int32_t Save(SettingsStore &store) const;
};

} // namespace pv
