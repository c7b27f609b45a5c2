// The settings table of CAppProfile — section, value name, field and range of every stored
// value — and the load and save built on it.
#include "app/CAppProfile.h"

#include "tools/PenVariants.h"

#include <algorithm>
#include <limits>
#include <variant>

namespace pv {
namespace {

using P = CAppProfile;
using Field = std::variant<int32_t P::*, bool P::*, float P::*, std::string P::*>;

enum Direction : uint8_t { kReadWrite, kReadOnly }; // read-only values are written apart or never

struct Setting {
    const char *section;
    const char *name;
    Field field;
    int32_t lo = std::numeric_limits<int32_t>::min(); // integers are kept to lo..hi after loading
    int32_t hi = std::numeric_limits<int32_t>::max();
    Direction direction = kReadWrite;
};

constexpr char kFileIO[] = "fileIO", kConfig[] = "config", kColor[] = "color", kWindow[] = "window",
               kFont[] = "font", kPaper[] = "paper";

const Setting kSettings[] = {
    {kFileIO, "loadPath", &P::loadPath},
    {kFileIO, "savePath", &P::savePath},
    {kFileIO, "eventPath", &P::eventPath},
    {kFileIO, "palPath", &P::palPath},
    {kFileIO, "palFile", &P::palFile},
    {kFileIO, "tonePath", &P::tonePath},
    {kFileIO, "toneFile", &P::toneFile},
    {kFileIO, "gradPath", &P::gradPath},
    {kFileIO, "gradFile", &P::gradFile},
    {kFileIO, "pictLoadExtIdx", &P::pictLoadExtIdx},
    {kFileIO, "eventLoadExtIdx", &P::eventLoadExtIdx},
    {kFileIO, "silentFileIO", &P::silentFileIO},
    {kFileIO, "jpegUseProgressive", &P::jpegUseProgressive},
    {kFileIO, "jpegUseSmooth", &P::jpegUseSmooth},
    {kFileIO, "jpegValSmooth", &P::jpegValSmooth, 0, 100},
    {kFileIO, "jpegQType", &P::jpegQType, 0, 4},
    {kFileIO, "jpegQuality", &P::jpegQuality, 0, 100},
    {kFileIO, "jpegQVHigh", &P::jpegQVHigh, 0, 100},
    {kFileIO, "jpegQHigh", &P::jpegQHigh, 0, 100},
    {kFileIO, "jpegQStd", &P::jpegQStd, 0, 100},
    {kFileIO, "jpegQLow", &P::jpegQLow, 0, 100},
    {kFileIO, "psdSaveVer", &P::psdSaveVer, 3, 7},
    {kFileIO, "psdSaveFlags", &P::psdSaveFlags, INT32_MIN, INT32_MAX, kReadOnly},

    {kConfig, "appVerID", &P::appVerID},
    {kConfig, "lastCP", &P::lastCP, INT32_MIN, INT32_MAX, kReadOnly},
    {kConfig, "lastLCID", &P::lastLCID, INT32_MIN, INT32_MAX, kReadOnly},
    {kConfig, "gridW", &P::gridW},
    {kConfig, "gridH", &P::gridH},
    {kConfig, "undoMax", &P::undoMax},
    {kConfig, "fillLimit", &P::fillLimit},
    {kConfig, "fillTarget", &P::fillTarget},
    {kConfig, "wandLimit", &P::wandLimit},
    {kConfig, "wandTarget", &P::wandTarget},
    {kConfig, "fillAntiAlias", &P::fillAntiAlias},
    {kConfig, "wandAntiAlias", &P::wandAntiAlias},
    {kConfig, "gradType", &P::gradType},
    {kConfig, "gradMap", &P::gradMap},
    {kConfig, "gradRep", &P::gradRep},
    {kConfig, "gradRepCnt", &P::gradRepCnt},
    {kConfig, "ignoreTablet", &P::ignoreTablet},
    {kConfig, "eventWait", &P::eventWait},
    {kConfig, "tabletType", &P::tabletType},
    {kConfig, "rgbPalBarFixed", &P::rgbPalBarFixed},
    {kConfig, "useRBtnColPicker", &P::useRBtnColPicker},
    {kConfig, "zoomToolAsButton", &P::zoomToolAsButton},
    {kConfig, "useAutoScroll", &P::useAutoScroll},
    {kConfig, "useFilePreview", &P::useFilePreview},
    {kConfig, "useZoomAntialias", &P::useZoomAntialias},
    {kConfig, "mouseMBtnFunc", &P::mouseMBtnFunc, 0, 10},
    {kConfig, "opaquePaint", &P::opaquePaint},
    {kConfig, "opaqueAreaFill", &P::opaqueAreaFill},
    {kConfig, "opaqueSeedFill", &P::opaqueSeedFill},
    {kConfig, "opaqueGradate", &P::opaqueGradate},
    {kConfig, "opaqueDraw", &P::opaqueDraw},
    {kConfig, "opaqueLine", &P::opaqueLine},
    {kConfig, "opaqueFont", &P::opaqueFont},

    {kColor, "fgCol", &P::fgCol},
    {kColor, "bgCol", &P::bgCol},

    {kWindow, "dockSiteCount", &P::dockSiteCount},
    {kWindow, "mainWinX", &P::mainWinX},
    {kWindow, "mainWinY", &P::mainWinY},
    {kWindow, "mainWinW", &P::mainWinW},
    {kWindow, "mainWinH", &P::mainWinH},
    {kWindow, "mainWinMax", &P::mainWinMax},
    {kWindow, "childWinMax", &P::childWinMax},
    {kWindow, "ctrlWinVis", &P::ctrlWinVis},
    {kWindow, "palWinVis", &P::palWinVis},
    {kWindow, "layerWinVis", &P::layerWinVis},
    {kWindow, "selectWinVis", &P::selectWinVis},
    {kWindow, "previewWinVis", &P::previewWinVis},
    {kWindow, "toolWinX", &P::toolWinX},
    {kWindow, "toolWinY", &P::toolWinY},
    {kWindow, "ctrlWinX", &P::ctrlWinX},
    {kWindow, "ctrlWinY", &P::ctrlWinY},
    {kWindow, "penWinX", &P::penWinX},
    {kWindow, "penWinY", &P::penWinY},
    {kWindow, "palWinX", &P::palWinX},
    {kWindow, "palWinY", &P::palWinY},
    {kWindow, "gcolWinVis", &P::gcolWinVis},
    {kWindow, "rgbWinVis", &P::rgbWinVis},
    {kWindow, "hsvWinVis", &P::hsvWinVis},
    {kWindow, "gcolWinX", &P::gcolWinX},
    {kWindow, "gcolWinY", &P::gcolWinY},
    {kWindow, "rgbWinX", &P::rgbWinX},
    {kWindow, "rgbWinY", &P::rgbWinY},
    {kWindow, "hsvWinX", &P::hsvWinX},
    {kWindow, "hsvWinY", &P::hsvWinY},
    {kWindow, "layerWinX", &P::layerWinX},
    {kWindow, "layerWinY", &P::layerWinY},
    {kWindow, "layerWinW", &P::layerWinW},
    {kWindow, "layerWinH", &P::layerWinH},
    {kWindow, "selectWinX", &P::selectWinX},
    {kWindow, "selectWinY", &P::selectWinY},
    {kWindow, "selectWinW", &P::selectWinW},
    {kWindow, "selectWinH", &P::selectWinH},
    {kWindow, "previewWinX", &P::previewWinX},
    {kWindow, "previewWinY", &P::previewWinY},
    {kWindow, "previewWinW", &P::previewWinW},
    {kWindow, "previewWinH", &P::previewWinH},
    {kWindow, "gradWinVis", &P::gradWinVis},
    {kWindow, "gradWinPanelVis", &P::gradWinPanelVis},
    {kWindow, "toneWinVis", &P::toneWinVis},
    {kWindow, "toneWinPanelVis", &P::toneWinPanelVis},
    {kWindow, "gradWinX", &P::gradWinX},
    {kWindow, "gradWinY", &P::gradWinY},
    {kWindow, "gradWinPanelH", &P::gradWinPanelH},
    {kWindow, "gradWinUnitX", &P::gradWinUnitX},
    {kWindow, "gradWinUnitY", &P::gradWinUnitY},
    {kWindow, "gradWinRepX", &P::gradWinRepX},
    {kWindow, "gradWinRepY", &P::gradWinRepY},
    {kWindow, "toneWinX", &P::toneWinX},
    {kWindow, "toneWinY", &P::toneWinY},
    {kWindow, "toneWinPanelH", &P::toneWinPanelH},
    {kWindow, "toneWinUnitX", &P::toneWinUnitX},
    {kWindow, "toneWinUnitY", &P::toneWinUnitY},
    {kWindow, "toneWinRepX", &P::toneWinRepX},
    {kWindow, "toneWinRepY", &P::toneWinRepY},
    {kWindow, "fontDlgX", &P::fontDlgX},
    {kWindow, "fontDlgY", &P::fontDlgY},
    {kWindow, "fontDlgW", &P::fontDlgW},
    {kWindow, "fontDlgH", &P::fontDlgH},

    {kFont, "face", &P::face},
    {kFont, "point", &P::point},
    {kFont, "charset", &P::charset},
    {kFont, "spacing", &P::spacing},
    {kFont, "leading", &P::leading},
    {kFont, "italic", &P::italic},
    {kFont, "bold", &P::bold},
    {kFont, "underline", &P::underline},
    {kFont, "strikeout", &P::strikeout},
    {kFont, "useFont", &P::useFont},
    {kFont, "usePreview", &P::usePreview},
};

// Per-tool densities by the low seven bits of a tool code.
float P::*DensityField(int toolCode)
{
    switch (toolCode & 0x7F) {
    case 0: return &P::opaquePaint;
    case 4: return &P::opaqueSeedFill;
    case 10: return &P::opaqueDraw;
    case 11:
    case 13: return &P::opaqueAreaFill;
    case 12: return &P::opaqueLine;
    case 14: return &P::opaqueFont;
    case 19: return &P::opaqueGradate;
    default: return nullptr;
    }
}

void ReadSetting(P &profile, const SettingsStore &store, const Setting &s)
{
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(profile.*member)>;
            if constexpr (std::is_same_v<T, int32_t>) {
                if (const auto v = store.ReadInt(s.section, s.name))
                    profile.*member = std::clamp(*v, s.lo, s.hi);
            } else if constexpr (std::is_same_v<T, bool>) {
                if (const auto v = store.ReadInt(s.section, s.name))
                    profile.*member = *v != 0;
            } else if constexpr (std::is_same_v<T, float>) {
                if (const auto v = store.ReadDouble(s.section, s.name))
                    profile.*member = static_cast<float>(*v);
            } else {
                if (const auto v = store.ReadString(s.section, s.name))
                    profile.*member = *v;
            }
        },
        s.field);
}

void WriteSetting(const P &profile, SettingsStore &store, const Setting &s)
{
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(profile.*member)>;
            if constexpr (std::is_same_v<T, float>)
                store.WriteDouble(s.section, s.name, profile.*member);
            else if constexpr (std::is_same_v<T, std::string>)
                store.WriteString(s.section, s.name, profile.*member);
            else
                store.WriteInt(s.section, s.name, static_cast<int32_t>(profile.*member));
        },
        s.field);
}

int32_t ClampWindowSide(int32_t side, int32_t screen)
{
    if (side == -1)
        return side;
    return std::clamp(side, 200, screen > 200 ? screen : std::numeric_limits<int32_t>::max());
}

} // namespace

void CAppProfile::ResetToDefaults(const SystemInfo &info)
{
    *this = CAppProfile();
    system = info;
    for (std::string *path : {&loadPath, &savePath, &eventPath, &palPath, &tonePath, &gradPath})
        *path = info.programFolder;
    lastCP = info.codePage;
    lastLCID = info.localeId;
    useZoomAntialias = info.clockRate > 1e9;
}

void CAppProfile::Load(const SettingsStore &store, const SystemInfo &info)
{
    ResetToDefaults(info);
    for (const Setting &s : kSettings)
        ReadSetting(*this, store, s);
    for (int i = 0; i < kPaperPresets; ++i) {
        const std::string n = std::to_string(i);
        if (const auto v = store.ReadInt(kPaper, "unit" + n))
            paper[i].unit = *v;
        if (const auto v = store.ReadInt(kPaper, "dpi" + n))
            paper[i].dpi = *v;
        if (const auto v = store.ReadDouble(kPaper, "w" + n))
            paper[i].w = static_cast<float>(*v);
        if (const auto v = store.ReadDouble(kPaper, "h" + n))
            paper[i].h = static_cast<float>(*v);
    }
    mainWinW = ClampWindowSide(mainWinW, info.screenWidth);
    mainWinH = ClampWindowSide(mainWinH, info.screenHeight);
}

void CAppProfile::Save(SettingsStore &store) const
{
    for (const Setting &s : kSettings)
        if (s.direction != kReadOnly)
            WriteSetting(*this, store, s);
    store.WriteString(kFileIO, "appPath", system.programFolder);
    store.WriteInt(kConfig, "lastCP", system.codePage);
    store.WriteInt(kConfig, "lastLCID", system.localeId);
    for (int i = 0; i < kPaperPresets; ++i) {
        const std::string n = std::to_string(i);
        store.WriteInt(kPaper, "unit" + n, paper[i].unit);
        store.WriteInt(kPaper, "dpi" + n, paper[i].dpi);
        store.WriteDouble(kPaper, "w" + n, paper[i].w);
        store.WriteDouble(kPaper, "h" + n, paper[i].h);
    }
}

float CAppProfile::ToolDensity(int toolCode) const
{
    const auto field = DensityField(toolCode);
    return field ? this->*field : 1.0f;
}

void CAppProfile::SetToolDensity(int toolCode, float value)
{
    if (const auto field = DensityField(toolCode))
        this->*field = value;
}

int MigrateSettings(CAppProfile &profile, SettingsStore &store, const SettingsStore &olderStore)
{
    int imported = 0;
    if (profile.appVerID < 10)
        imported = ImportOlderPenSettings(olderStore, store);
    if (profile.appVerID <= 10)
        profile.gradFile.clear();
    profile.appVerID = CAppProfile::kCurrentVersion;
    return imported;
}

} // namespace pv
