// CAppProfile: the program's one settings object — every stored value with its default and
// range, loaded once at start-up and saved once at exit through the settings store, in the
// sections fileIO, config, color, paper, window and font. The docking layout, the recent-files
// list, the per-tool densities and the settings-version migration live beside it.
#pragma once

#include "app/SystemInfo.h"
#include "platform/SettingsStore.h"

#include <array>
#include <cstdint>
#include <string>

namespace pv {

// The names of this program's settings file and of the older program's, whose pen settings
// the first start imports (see SettingsFilePath).
constexpr char kSettingsApplication[] = "Pictavella3 Plus";
constexpr char kOlderSettingsApplication[] = "Pictavella2";

struct PaperPreset {
    int32_t unit = 0; // 0 pixel, 1 inch, 2 cm
    int32_t dpi = 72;
    float w = 640.0f, h = 480.0f;
};

class CAppProfile {
public:
    static constexpr int32_t kCurrentVersion = 11;
    static constexpr int kPaperPresets = 6;

    SystemInfo system;

    // fileIO
    std::string loadPath, savePath, eventPath, palPath, palFile, tonePath, toneFile, gradPath, gradFile;
    int32_t pictLoadExtIdx = 1, eventLoadExtIdx = 1;
    bool silentFileIO = false, jpegUseProgressive = false, jpegUseSmooth = false;
    int32_t jpegValSmooth = 0, jpegQType = 1, jpegQuality = 90;
    int32_t jpegQVHigh = 100, jpegQHigh = 90, jpegQStd = 75, jpegQLow = 50;
    int32_t psdSaveVer = 6, psdSaveFlags = 0;

    // config
    int32_t appVerID = 0, lastCP = 0, lastLCID = 0;
    int32_t gridW = 25, gridH = 25, undoMax = 8;
    int32_t fillLimit = 20, fillTarget = 0, wandLimit = 20, wandTarget = 0;
    bool fillAntiAlias = false, wandAntiAlias = false;
    int32_t gradType = 0, gradMap = 0, gradRep = 0, gradRepCnt = 1;
    bool ignoreTablet = false, eventWait = false;
    int32_t tabletType = 0;
    bool rgbPalBarFixed = false, useRBtnColPicker = false, zoomToolAsButton = false;
    bool useAutoScroll = false, useFilePreview = true, useZoomAntialias = false;
    int32_t mouseMBtnFunc = 0;
    float opaquePaint = 1, opaqueAreaFill = 1, opaqueSeedFill = 1, opaqueGradate = 1;
    float opaqueDraw = 1, opaqueLine = 1, opaqueFont = 1;

    // color
    int32_t fgCol = 0x000000, bgCol = 0xFFFFFF;

    // paper
    std::array<PaperPreset, kPaperPresets> paper{};

    // window (−1: not stored, the window keeps its designed placement)
    int32_t dockSiteCount = 0;
    int32_t mainWinX = -1, mainWinY = -1, mainWinW = -1, mainWinH = -1;
    bool mainWinMax = true, childWinMax = false;
    bool ctrlWinVis = true, palWinVis = true, layerWinVis = true, selectWinVis = true, previewWinVis = true;
    int32_t toolWinX = -1, toolWinY = -1, ctrlWinX = -1, ctrlWinY = -1;
    int32_t penWinX = -1, penWinY = -1, palWinX = -1, palWinY = -1;
    bool gcolWinVis = true, rgbWinVis = true, hsvWinVis = true;
    int32_t gcolWinX = -1, gcolWinY = -1, rgbWinX = -1, rgbWinY = -1, hsvWinX = -1, hsvWinY = -1;
    int32_t layerWinX = -1, layerWinY = -1, layerWinW = -1, layerWinH = -1;
    int32_t selectWinX = -1, selectWinY = -1, selectWinW = -1, selectWinH = -1;
    int32_t previewWinX = -1, previewWinY = -1, previewWinW = -1, previewWinH = -1;
    bool gradWinVis = true, gradWinPanelVis = true, toneWinVis = true, toneWinPanelVis = true;
    int32_t gradWinX = -1, gradWinY = -1, gradWinPanelH = -1, gradWinUnitX = -1, gradWinUnitY = -1;
    int32_t gradWinRepX = -1, gradWinRepY = -1;
    int32_t toneWinX = -1, toneWinY = -1, toneWinPanelH = -1, toneWinUnitX = -1, toneWinUnitY = -1;
    int32_t toneWinRepX = -1, toneWinRepY = -1;
    int32_t fontDlgX = -1, fontDlgY = -1, fontDlgW = -1, fontDlgH = -1;

    // font
    std::string face;
    int32_t point = 0, charset = -1, spacing = 0, leading = 0;
    bool italic = false, bold = false, underline = false, strikeout = false;
    bool useFont = true, usePreview = true;

    // Every value to its default; the system-dependent defaults come from `info`.
    void ResetToDefaults(const SystemInfo &info);
    // The system information, then the sections: every stored value replaces its default,
    // then the ranges are enforced.
    void Load(const SettingsStore &store, const SystemInfo &info);
    // The sections, as they stand in the object (the caller first collects the colours,
    // the gradation entry, the docking layout and the window placements into it).
    void Save(SettingsStore &store) const;

    // The density last used with a tool (by tool code; 1.0 for a code without one).
    float ToolDensity(int toolCode) const;
    void SetToolDensity(int toolCode, float value);
};

// The settings-version migration, done once when the main window is created: below 10 the
// pen settings of the older program are imported; up to 10 "gradFile" is cleared; then the
// version is 11. Returns the number of pen variants imported.
int MigrateSettings(CAppProfile &profile, SettingsStore &store, const SettingsStore &olderStore);

} // namespace pv
