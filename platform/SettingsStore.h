// The settings store: a tree of keys ("config", "penSetting\wc2", "docking\dockSite0"), each
// holding named values of four types — 32-bit integer, double, string and binary. It stands in
// for the per-user registry key of the application. A value read with another type than it
// was written with reads as missing. The store itself lives in memory; SettingsFile reads it
// from and writes it to the settings file once per run.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace pv {

using SettingsBinary = std::vector<uint8_t>;
using SettingsValue = std::variant<int32_t, double, std::string, SettingsBinary>;

class SettingsStore {
public:
    using Values = std::map<std::string, SettingsValue>;

    std::optional<int32_t> ReadInt(const std::string &key, const std::string &name) const { return Read<int32_t>(key, name); }
    std::optional<double> ReadDouble(const std::string &key, const std::string &name) const { return Read<double>(key, name); }
    std::optional<std::string> ReadString(const std::string &key, const std::string &name) const { return Read<std::string>(key, name); }
    std::optional<SettingsBinary> ReadBinary(const std::string &key, const std::string &name) const { return Read<SettingsBinary>(key, name); }

    void Write(const std::string &key, const std::string &name, SettingsValue value) { keys_[key][name] = std::move(value); }
    void WriteInt(const std::string &key, const std::string &name, int32_t v) { Write(key, name, v); }
    void WriteDouble(const std::string &key, const std::string &name, double v) { Write(key, name, v); }
    void WriteString(const std::string &key, const std::string &name, std::string v) { Write(key, name, std::move(v)); }

    bool HasKey(const std::string &key) const { return keys_.count(key) != 0; }
    void CreateKey(const std::string &key) { keys_[key]; }
    void RemoveValue(const std::string &key, const std::string &name);
    const std::map<std::string, Values> &Keys() const { return keys_; }
    bool operator==(const SettingsStore &) const = default;

private:
    template <class T>
    std::optional<T> Read(const std::string &key, const std::string &name) const
    {
        const auto k = keys_.find(key);
        if (k == keys_.end())
            return std::nullopt;
        const auto v = k->second.find(name);
        if (v == k->second.end() || !std::holds_alternative<T>(v->second))
            return std::nullopt;
        return std::get<T>(v->second);
    }

    std::map<std::string, Values> keys_;
};

} // namespace pv
