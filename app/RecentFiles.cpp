// The recent-files list.
#include "app/RecentFiles.h"

#include <algorithm>

namespace pv {
namespace {

constexpr char kKey[] = "fileMRU";

std::string Name(size_t i) { return "path" + std::to_string(i); }

} // namespace

void RecentFiles::Load(const SettingsStore &store)
{
    paths_.clear();
    for (size_t i = 0; i < kMax; ++i)
        if (auto path = store.ReadString(kKey, Name(i)); path && !path->empty() &&
                                                          std::find(paths_.begin(), paths_.end(), *path) == paths_.end())
            paths_.push_back(std::move(*path));
}

void RecentFiles::Save(SettingsStore &store) const
{
    for (size_t i = 0; i < kMax; ++i) {
        if (i < paths_.size())
            store.WriteString(kKey, Name(i), paths_[i]);
        else
            store.RemoveValue(kKey, Name(i));
    }
}

void RecentFiles::Add(const std::string &path)
{
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMax)
        paths_.resize(kMax);
}

void RecentFiles::Remove(const std::string &path)
{
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

} // namespace pv
