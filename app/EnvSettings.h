// The environment settings dialog ("環境設定") without its window: the values it edits, the
// checks its OK button makes, with their messages, and the middle-button and PSD-version lists.
#pragma once

#include "app/CAppProfile.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace pv {

extern const char kEnvWindowCaption[];
// The eleven middle-button functions, by their stored value 0..10.
extern const std::array<const char *, 11> kMiddleButtonFunctions;
// The PSD versions offered ("4", "5", "6"), stored as list index + 4.
extern const std::array<const char *, 3> kPsdSaveVersions;
int PsdVersionIndex(int32_t psdSaveVer);   // the list index shown for a stored version
int32_t PsdVersionForIndex(int index);     // index clamped to 0..2, then + 4

struct EnvSettings {
    // "一般"
    std::string gridW = "25", gridH = "25", undoMax = "8"; // the number fields as typed
    bool rgbPalBarFixed = false, useZoomAntialias = false, useRBtnColPicker = false;
    bool zoomToolAsButton = false, silentFileIO = false, useAutoScroll = false;
    int32_t mouseMBtnFunc = 0;
    // "ファイル"
    std::string palFile, gradFile, toneFile;
    int psdVersionIndex = 2;

    static EnvSettings From(const CAppProfile &profile);
};

// The first problem the OK button finds, as the message to show; nothing when all is well.
// fileExists answers for the start-up files.
std::optional<std::string> CheckEnvSettings(const EnvSettings &settings,
                                            const std::function<bool(const std::string &)> &fileExists);
// Stores checked values into the settings object (written to the file at exit).
void ApplyEnvSettings(const EnvSettings &settings, CAppProfile &profile);

} // namespace pv
