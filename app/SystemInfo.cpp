// Gathering the system facts on Linux.
#include "app/SystemInfo.h"

#include "pixkit.h"
#include "platform/DataPaths.h"

#include <sys/utsname.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace pv {

void SetLocaleFromName(SystemInfo &info, const std::string &localeName)
{
    if (localeName.starts_with("ja")) {
        info.localeId = 1041;
        info.codePage = 932;
        info.languageCode = 0;
    } else if (localeName.starts_with("ko")) {
        info.localeId = 1042;
        info.codePage = 949;
        info.languageCode = 1;
    } else {
        info.localeId = 1033;
        info.codePage = 1252;
        info.languageCode = 2;
    }
}

SystemInfo GatherSystemInfo()
{
    SystemInfo info;
    const char *locale = std::getenv("LC_ALL");
    if (!locale || !*locale)
        locale = std::getenv("LANG");
    SetLocaleFromName(info, locale ? locale : "");
    utsname name{};
    int major = 0, minor = 0;
    if (::uname(&name) == 0 && std::sscanf(name.release, "%d.%d", &major, &minor) == 2)
        info.systemVersion = major * 100 + minor;
    pixkitMeasureClock(100, &info.clockRate);
    const std::filesystem::path exe = ExecutableFolder();
    info.programFolder = exe.string();
    std::error_code ec;
    info.programFile = std::filesystem::read_symlink("/proc/self/exe", ec).filename().string();
    const char *tmp = std::getenv("TMPDIR");
    info.tempFolder = tmp && *tmp ? tmp : "/tmp";
    return info;
}

} // namespace pv
