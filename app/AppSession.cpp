// The start and end of a normal instance.
#include "app/AppSession.h"

#include "platform/DataPaths.h"
#include "platform/Messages.h"
#include "platform/SettingsFile.h"

#include <cstdio>

namespace pv {

std::string ApplicationTitle(bool renderMode)
{
    char title[64];
    std::snprintf(title, sizeof title, "%s%d.%2.2dE", kProductName, 3, 5);
    return std::string(title) + " Plus" + (renderMode ? " Render!" : "");
}

const char *QueryAnswer(const StartOptions &options)
{
    if (!options.unattended)
        return "PV20";
    return options.viewer ? "PVVw" : "PVRe";
}

SessionFiles SessionFiles::Standard()
{
    return {SettingsFilePath(kSettingsApplication), SettingsFilePath(kOlderSettingsApplication), ExecutableFolder(),
            DataFolder()};
}

bool AppSession::Begin(const SystemInfo &system)
{
    SettingsLoad load = LoadSettingsFile(files_.settings);
    if (!load.problem.empty())
        Messages().Warning(files_.settings.string() + ": " + load.problem);
    store_ = std::move(load.store);
    profile.Load(store_, system);
    if (profile.appVerID < CAppProfile::kCurrentVersion)
        MigrateSettings(profile, store_, LoadSettingsFile(files_.olderSettings).store);

    if (const auto table = FindLanguageTable(files_.programFolder, files_.dataFolder)) {
        std::string problem;
        if (!texts.Load(*table, problem)) {
            char text[4096];
            std::snprintf(text, sizeof text, kLanguageTableFailed, table->c_str());
            Messages().Warning(std::string(text) + " (" + problem + ")");
            return false;
        }
        profile.system.languageCode = 2;
    }
    return true;
}

void AppSession::End()
{
    profile.Save(store_);
    std::string problem;
    if (!SaveSettingsFile(files_.settings, store_, &problem))
        Messages().Warning(files_.settings.string() + ": " + problem);
}

} // namespace pv
