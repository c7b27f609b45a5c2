// A normal instance's start and end, before and after its windows: the system facts, the
// settings (the older program's pen settings imported on a first start), the language table,
// the title; the settings saved again at exit. Unattended runs use none of it, so they never
// overwrite a running instance's settings.
#pragma once

#include "app/CAppProfile.h"
#include "app/CommandLine.h"
#include "app/LanguageTable.h"

#include <filesystem>
#include <string>

namespace pv {

inline constexpr const char *kProductName = "Pictavella";

// "Pictavella3.05E Plus", with " Render!" in render mode.
std::string ApplicationTitle(bool renderMode);
// What an instance answers a later start's query: "PV20" normal, "PVVw" viewer, "PVRe" render.
const char *QueryAnswer(const StartOptions &options);

struct SessionFiles {
    std::filesystem::path settings, olderSettings; // this program's and the older program's
    std::filesystem::path programFolder, dataFolder;
    static SessionFiles Standard();
};

class AppSession {
public:
    explicit AppSession(SessionFiles files) : files_(std::move(files)) {}

    // False when the start must end: a language table is present but cannot be read (the
    // warning has been shown). A damaged settings file is reported and read as empty.
    bool Begin(const SystemInfo &system);
    // Saves the settings; a failure is reported and the old file kept.
    void End();

    CAppProfile profile;
    LanguageTable texts;

private:
    SessionFiles files_;
    SettingsStore store_;
};

} // namespace pv
