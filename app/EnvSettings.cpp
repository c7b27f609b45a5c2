// The environment settings checks and the dialog's lists.
#include "app/EnvSettings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace pv {

const char kEnvWindowCaption[] = "環境設定";

const std::array<const char *, 11> kMiddleButtonFunctions = {
    "表示位置の移動", "表示の回転",       "ﾍﾟﾝ半径の変更",       "ﾚｲﾔの移動",
    "ｸﾞﾗﾃﾞｰｼｮﾝ",      "矩形塗りつぶし",   "自由形状塗りつぶし",  "自動範囲塗りつぶし",
    "矩形選択範囲",   "自由形状選択範囲", "自動選択範囲",
};

const std::array<const char *, 3> kPsdSaveVersions = {"4", "5", "6"};

int PsdVersionIndex(int32_t psdSaveVer)
{
    return std::clamp(psdSaveVer - 4, 0, 2);
}

int32_t PsdVersionForIndex(int index)
{
    return std::clamp(index, 0, 2) + 4;
}

namespace {

std::optional<int> ParseNumber(const std::string &text)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return v;
}

std::string Format(const char *format, const char *text, int a, int b)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, text, a, b);
    return buffer;
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// A start-up file: empty, a file named "default" (any case, any extension), or an existing
// file with the expected extension.
std::optional<std::string> CheckStartupFile(const std::string &path, const char *extension,
                                            const std::function<bool(const std::string &)> &fileExists)
{
    if (path.empty())
        return std::nullopt;
    const std::filesystem::path p(path);
    if (Lower(p.stem().string()) == "default")
        return std::nullopt;
    char buffer[1024];
    if (!fileExists(path)) {
        std::snprintf(buffer, sizeof buffer, "%s が見つかりません！", path.c_str());
        return std::string(buffer);
    }
    if (p.extension().string() != extension) {
        std::snprintf(buffer, sizeof buffer, "不正な拡張子です！\r    path = %s", path.c_str());
        return std::string(buffer);
    }
    return std::nullopt;
}

} // namespace

// The dialog's check boxes and file fields, each with the settings value it edits.
constexpr std::pair<bool EnvSettings::*, bool CAppProfile::*> kFlags[] = {
    {&EnvSettings::rgbPalBarFixed, &CAppProfile::rgbPalBarFixed},
    {&EnvSettings::useZoomAntialias, &CAppProfile::useZoomAntialias},
    {&EnvSettings::useRBtnColPicker, &CAppProfile::useRBtnColPicker},
    {&EnvSettings::zoomToolAsButton, &CAppProfile::zoomToolAsButton},
    {&EnvSettings::silentFileIO, &CAppProfile::silentFileIO},
    {&EnvSettings::useAutoScroll, &CAppProfile::useAutoScroll},
};
const std::pair<std::string EnvSettings::*, std::string CAppProfile::*> kFiles[] = {
    {&EnvSettings::palFile, &CAppProfile::palFile},
    {&EnvSettings::gradFile, &CAppProfile::gradFile},
    {&EnvSettings::toneFile, &CAppProfile::toneFile},
};

EnvSettings EnvSettings::From(const CAppProfile &p)
{
    EnvSettings s;
    s.gridW = std::to_string(p.gridW);
    s.gridH = std::to_string(p.gridH);
    s.undoMax = std::to_string(p.undoMax);
    for (const auto &[dialog, setting] : kFlags)
        s.*dialog = p.*setting;
    for (const auto &[dialog, setting] : kFiles)
        s.*dialog = p.*setting;
    s.mouseMBtnFunc = p.mouseMBtnFunc;
    s.psdVersionIndex = PsdVersionIndex(p.psdSaveVer);
    return s;
}

std::optional<std::string> CheckEnvSettings(const EnvSettings &s,
                                            const std::function<bool(const std::string &)> &fileExists)
{
    if (s.gridW.empty() || s.gridH.empty() || s.undoMax.empty())
        return std::string("空欄があります！");
    const char *range = "%sは %d ～ %d にしてください！";
    const auto w = ParseNumber(s.gridW), h = ParseNumber(s.gridH);
    if (!w || !h || *w < 2 || *w > 500 || *h < 2 || *h > 500)
        return Format(range, "ｸﾞﾘｯﾄﾞ", 2, 500);
    const auto undo = ParseNumber(s.undoMax);
    if (!undo || *undo < 0 || *undo > 50)
        return Format(range, "ｱﾝﾄﾞｩ回数", 0, 50);
    if (auto problem = CheckStartupFile(s.palFile, ".ppl", fileExists))
        return problem;
    if (auto problem = CheckStartupFile(s.gradFile, ".pgs", fileExists))
        return problem;
    if (auto problem = CheckStartupFile(s.toneFile, ".pts", fileExists))
        return problem;
    return std::nullopt;
}

void ApplyEnvSettings(const EnvSettings &s, CAppProfile &p)
{
    p.gridW = ParseNumber(s.gridW).value_or(p.gridW);
    p.gridH = ParseNumber(s.gridH).value_or(p.gridH);
    p.undoMax = ParseNumber(s.undoMax).value_or(p.undoMax);
    for (const auto &[dialog, setting] : kFlags)
        p.*setting = s.*dialog;
    for (const auto &[dialog, setting] : kFiles)
        p.*setting = s.*dialog;
    p.mouseMBtnFunc = std::clamp(s.mouseMBtnFunc, 0, 10);
    p.psdSaveVer = PsdVersionForIndex(s.psdVersionIndex);
}

} // namespace pv
