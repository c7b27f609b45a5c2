// Facts about the system gathered at start-up and never stored: locale and code page (as the
// numbers the settings keep), the language the texts are in, the processor clock rate, and
// the program's folders. The shell adds the screen size and the number of monitors.
#pragma once

#include <string>

namespace pv {

struct SystemInfo {
    int localeId = 1041;  // a Windows locale number: 1041 Japanese, 1042 Korean, 1033 English
    int codePage = 932;   // the matching ANSI code page
    int languageCode = 0; // 0 Japanese, 1 Korean, 2 other
    bool isNT = true;
    int systemVersion = 0; // major × 100 + minor of the kernel
    double counterFrequency = 1e9; // steady_clock ticks per second
    double clockRate = 0;  // processor cycles per second, measured over 100 ms
    int monitors = 1;
    int screenWidth = 0, screenHeight = 0; // 0: not known (no upper clamp)
    std::string windowsFolder;
    std::string programFolder;
    std::string programFile;
    std::string tempFolder;
};

// The locale and code page for a POSIX locale name such as "ja_JP.UTF-8".
void SetLocaleFromName(SystemInfo &info, const std::string &localeName);

// Everything but the screen; measuring the clock takes 100 ms.
SystemInfo GatherSystemInfo();

} // namespace pv
