// The recent-files list: at most nine paths, newest first, stored as "path0".."path8" under
// "fileMRU" and read back by those names.
#pragma once

#include "platform/SettingsStore.h"

#include <string>
#include <vector>

namespace pv {

class RecentFiles {
public:
    static constexpr size_t kMax = 9;

    const std::vector<std::string> &paths() const { return paths_; }
    void Load(const SettingsStore &store);
    void Save(SettingsStore &store) const;
    // Puts the path first (moving it if it is already listed) and drops the oldest beyond nine.
    void Add(const std::string &path);
    void Remove(const std::string &path);

private:
    std::vector<std::string> paths_;
};

} // namespace pv
