// The settings file: the settings store as UTF-8 text, one section per key, one typed value
// per line —
//     [penSetting\wc2]
//     WIDTH=double:16
//     ifSIZE=int:1
//     face=str:MS Gothic
//     blob=hex:01ff
// It lives at $XDG_CONFIG_HOME/Lumenhaus/<application>.ini (~/.config when the variable is
// unset), is read once at start and written once at exit through a temporary file that is
// renamed over the old one, so a failed save leaves the previous settings intact. A damaged
// file is reported and read as empty; it never stops the program.
#pragma once

#include "platform/SettingsStore.h"

#include <filesystem>
#include <string>

namespace pv {

// $XDG_CONFIG_HOME/Lumenhaus/<application>.ini, e.g. "Pictavella3 Plus".
std::filesystem::path SettingsFilePath(const std::string &application);

struct SettingsLoad {
    SettingsStore store;
    bool existed = false;  // the file was there
    std::string problem;   // empty, or why the file was not used (to report once)
};

SettingsLoad LoadSettingsFile(const std::filesystem::path &path);
std::string FormatSettings(const SettingsStore &store);
// Parses the text; false (and the store left empty) on the first malformed line.
bool ParseSettings(const std::string &text, SettingsStore &store, std::string &problem);
// Creates the folder when needed; false, with the old file kept, when anything fails.
bool SaveSettingsFile(const std::filesystem::path &path, const SettingsStore &store, std::string *problem = nullptr);

} // namespace pv
