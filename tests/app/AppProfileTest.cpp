// The application settings: defaults and ranges, a round trip through the settings file, the
// migration of older settings, per-tool densities, docking layout and recent files.
#include "app/CAppProfile.h"
#include "app/DockingLayout.h"
#include "app/RecentFiles.h"
#include "platform/SettingsFile.h"
#include "tools/PenVariants.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pv {
namespace {

SystemInfo TestSystem()
{
    SystemInfo info;
    info.programFolder = "/opt/pv/bin";
    info.clockRate = 2.5e9;
    info.screenWidth = 1920;
    info.screenHeight = 1080;
    return info;
}

TEST(AppProfile, AFreshUserGetsTheDefaults)
{
    CAppProfile p;
    p.Load(SettingsStore(), TestSystem());
    EXPECT_EQ(0, p.appVerID);
    EXPECT_EQ("/opt/pv/bin", p.loadPath);
    EXPECT_EQ("", p.palFile);
    EXPECT_EQ(90, p.jpegQuality);
    EXPECT_EQ(6, p.psdSaveVer);
    EXPECT_EQ(25, p.gridW);
    EXPECT_EQ(8, p.undoMax);
    EXPECT_EQ(1, p.gradRepCnt);
    EXPECT_TRUE(p.useFilePreview);
    EXPECT_TRUE(p.useZoomAntialias) << "a clock above 1 GHz";
    EXPECT_EQ(0xFFFFFF, p.bgCol);
    EXPECT_EQ(-1, p.mainWinW);
    EXPECT_TRUE(p.mainWinMax);
    EXPECT_EQ(-1, p.charset);
    EXPECT_EQ(72, p.paper[5].dpi);
    EXPECT_FLOAT_EQ(480.0f, p.paper[0].h);

    SystemInfo slow = TestSystem();
    slow.clockRate = 8e8;
    p.Load(SettingsStore(), slow);
    EXPECT_FALSE(p.useZoomAntialias);
}

TEST(AppProfile, StoredValuesAreKeptToTheirRanges)
{
    struct Case {
        const char *section, *name;
        int32_t stored;
        int32_t CAppProfile::*field;
        int32_t read;
    } cases[] = {
        {"fileIO", "jpegQuality", 150, &CAppProfile::jpegQuality, 100},
        {"fileIO", "jpegQLow", -4, &CAppProfile::jpegQLow, 0},
        {"fileIO", "jpegQType", 9, &CAppProfile::jpegQType, 4},
        {"fileIO", "psdSaveVer", 2, &CAppProfile::psdSaveVer, 3},
        {"fileIO", "psdSaveVer", 8, &CAppProfile::psdSaveVer, 7},
        {"config", "mouseMBtnFunc", 11, &CAppProfile::mouseMBtnFunc, 10},
        {"window", "mainWinW", 50, &CAppProfile::mainWinW, 200},
        {"window", "mainWinW", 5000, &CAppProfile::mainWinW, 1920},
        {"window", "mainWinH", 150, &CAppProfile::mainWinH, 200},
        {"window", "mainWinW", -1, &CAppProfile::mainWinW, -1},
        {"config", "gridW", 1000, &CAppProfile::gridW, 1000}, // used as stored
    };
    for (const Case &c : cases) {
        SettingsStore store;
        store.WriteInt(c.section, c.name, c.stored);
        CAppProfile p;
        p.Load(store, TestSystem());
        EXPECT_EQ(c.read, p.*c.field) << c.name << " stored as " << c.stored;
    }
    SettingsStore wrongType;
    wrongType.WriteString("config", "gridW", "30");
    wrongType.WriteInt("fileIO", "loadPath", 3);
    CAppProfile p;
    p.Load(wrongType, TestSystem());
    EXPECT_EQ(25, p.gridW) << "a value of another type reads as missing";
    EXPECT_EQ("/opt/pv/bin", p.loadPath);
}

TEST(AppProfile, SaveAndLoadThroughTheSettingsFile)
{
    CAppProfile p;
    p.Load(SettingsStore(), TestSystem());
    p.gradFile = "/home/u/my.pgs";
    p.jpegUseProgressive = true;
    p.undoMax = 20;
    p.opaqueLine = 0.25f;
    p.fgCol = 0x123456;
    p.paper[3] = {2, 300, 21.0f, 29.7f};
    p.layerWinX = 640;
    p.face = "ＭＳ ゴシック";
    p.psdSaveFlags = 5; // read, never written
    SettingsStore store;
    p.Save(store);

    const auto path = std::filesystem::temp_directory_path() / ("pv-profile-" + std::to_string(::getpid()) + ".ini");
    ASSERT_TRUE(SaveSettingsFile(path, store));
    const SettingsLoad load = LoadSettingsFile(path);
    std::filesystem::remove(path);
    ASSERT_EQ("", load.problem);

    CAppProfile back;
    back.Load(load.store, TestSystem());
    EXPECT_EQ("/home/u/my.pgs", back.gradFile);
    EXPECT_TRUE(back.jpegUseProgressive);
    EXPECT_EQ(20, back.undoMax);
    EXPECT_FLOAT_EQ(0.25f, back.opaqueLine);
    EXPECT_EQ(0x123456, back.fgCol);
    EXPECT_EQ(300, back.paper[3].dpi);
    EXPECT_FLOAT_EQ(29.7f, back.paper[3].h);
    EXPECT_EQ(640, back.layerWinX);
    EXPECT_EQ("ＭＳ ゴシック", back.face);
    EXPECT_EQ(0, back.psdSaveFlags);

    const std::string text = FormatSettings(load.store);
    for (const char *line : {"[fileIO]", "appPath=str:/opt/pv/bin", "jpegQuality=int:90", "[config]",
                             "lastCP=int:932", "opaqueLine=double:0.25", "[paper]", "dpi3=int:300", "[window]",
                             "mainWinMax=int:1", "[font]", "charset=int:-1", "[color]", "bgCol=int:16777215"})
        EXPECT_NE(std::string::npos, text.find(line)) << line;
}

TEST(AppProfile, MigrationImportsOlderPensAndClearsTheGradationFile)
{
    SettingsStore older;
    TStroke pen;
    pen.ApplyDefaults(kPenWatercolour);
    SavePenVariant(pen, older, kPenWatercolour, 2);
    struct Case {
        int32_t version;
        int imported;
        bool gradFileCleared;
    } cases[] = {{0, 1, true}, {9, 1, true}, {10, 0, true}, {11, 0, false}};
    for (const Case &c : cases) {
        SettingsStore store;
        CAppProfile p;
        p.appVerID = c.version;
        p.gradFile = "old.pgs";
        EXPECT_EQ(c.imported, MigrateSettings(p, store, older)) << c.version;
        EXPECT_EQ(c.gradFileCleared, p.gradFile.empty()) << c.version;
        EXPECT_EQ(c.imported == 1, store.HasKey("penSetting\\wc2")) << c.version;
        EXPECT_EQ(11, p.appVerID);
        p.Save(store);
        EXPECT_EQ(11, store.ReadInt("config", "appVerID"));
    }
}

TEST(AppProfile, ToolDensitiesByToolCode)
{
    CAppProfile p;
    p.SetToolDensity(13, 0.4f);
    EXPECT_FLOAT_EQ(0.4f, p.opaqueAreaFill);
    EXPECT_FLOAT_EQ(0.4f, p.ToolDensity(11));
    p.SetToolDensity(0x80 | 4, 0.3f);
    EXPECT_FLOAT_EQ(0.3f, p.opaqueSeedFill) << "the low seven bits choose";
    CAppProfile before = p;
    p.SetToolDensity(5, 0.2f);
    EXPECT_FLOAT_EQ(1.0f, p.ToolDensity(5));
    SettingsStore a, b;
    before.Save(a);
    p.Save(b);
    EXPECT_EQ(a, b) << "a code without a density stores nothing";
}

TEST(DockingLayout, RestoredOnlyWhenItMatchesAndWithoutBadClients)
{
    DockingLayout layout;
    layout.sites.resize(2);
    layout.sites[0].clients = {0, 3, 11};
    layout.sites[1] = {10, 20, 300, 400, 1, false, {5}};
    SettingsStore store;
    EXPECT_EQ(2, layout.Save(store));

    DockingLayout back;
    EXPECT_FALSE(DockingLayout::Load(store, 3, back)) << "siteCount 2 with dockSiteCount 3";
    ASSERT_TRUE(DockingLayout::Load(store, 2, back));
    ASSERT_EQ(2u, back.sites.size());
    EXPECT_EQ((std::vector<int32_t>{0, 3, 11}), back.sites[0].clients);
    EXPECT_EQ(300, back.sites[1].w);
    EXPECT_FALSE(back.sites[1].visible);

    store.WriteInt("docking\\dockSite1", "clientCount", 4);
    store.WriteInt("docking\\dockSite1", "clientID1", 12);  // out of range
    store.WriteInt("docking\\dockSite1", "clientID2", 3);   // already docked in site 0
    store.WriteInt("docking\\dockSite1", "clientID3", -1);
    ASSERT_TRUE(DockingLayout::Load(store, 2, back));
    EXPECT_EQ((std::vector<int32_t>{5}), back.sites[1].clients);
}

TEST(RecentFiles, ReadByNameNewestFirstAtMostNine)
{
    SettingsStore store;
    store.WriteString("fileMRU", "path2", "/c.pci");
    store.WriteString("fileMRU", "path0", "/a.pci");
    store.WriteString("fileMRU", "path10", "/stray.pci");
    store.WriteString("fileMRU", "path1", "/b.pci");
    RecentFiles mru;
    mru.Load(store);
    EXPECT_EQ((std::vector<std::string>{"/a.pci", "/b.pci", "/c.pci"}), mru.paths());

    mru.Add("/c.pci");
    EXPECT_EQ((std::vector<std::string>{"/c.pci", "/a.pci", "/b.pci"}), mru.paths());
    for (int i = 0; i < 10; ++i)
        mru.Add("/n" + std::to_string(i));
    EXPECT_EQ(9u, mru.paths().size());
    EXPECT_EQ("/n9", mru.paths().front());
    mru.Remove("/n9");
    mru.Save(store);
    RecentFiles back;
    back.Load(store);
    EXPECT_EQ(mru.paths(), back.paths());
    EXPECT_FALSE(store.ReadString("fileMRU", "path8")) << "a shorter list leaves no old entry behind";
}

} // namespace
} // namespace pv
