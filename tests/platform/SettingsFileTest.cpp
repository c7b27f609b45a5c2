// The settings file: typed values survive a save and a load, the text is readable, damaged
// files are reported and read as empty, and a failed save keeps the old file.
#include "platform/AtomicFile.h"
#include "platform/SettingsFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("pv-settings-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override
    {
        fs::remove_all(folder_);
    }
    static std::string Read(const fs::path &p)
    {
        std::ifstream in(p);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path folder_;
};

pv::SettingsStore Sample()
{
    pv::SettingsStore s;
    s.WriteInt("config", "gridW", 25);
    s.WriteInt("config", "negative", -7);
    s.WriteDouble("penSetting\\wc2", "WIDTH", 16.25);
    s.WriteDouble("penSetting\\wc2", "GAMMA", 0.1);
    s.WriteString("fileMRU", "path0", "/home/u/絵 [1]=a\\b\nc.pci");
    s.WriteString("font", "face", "");
    s.Write("docking", "raw", pv::SettingsBinary{0, 0xFF, 0x10});
    s.CreateKey("empty");
    return s;
}

TEST_F(SettingsFileTest, ValuesRoundTripThroughReadableText)
{
    const fs::path path = folder_ / "sub" / "Pictavella3 Plus.ini";
    ASSERT_TRUE(pv::SaveSettingsFile(path, Sample()));
    const pv::SettingsLoad load = pv::LoadSettingsFile(path);
    EXPECT_TRUE(load.existed);
    EXPECT_EQ("", load.problem);
    EXPECT_EQ(Sample(), load.store);

    const std::string text = Read(path);
    for (const char *line : {"[penSetting\\\\wc2]", "WIDTH=double:16.25", "gridW=int:25", "[config]",
                             "path0=str:/home/u/絵 \\x5b1\\x5d\\x3da\\\\b\\nc.pci"})
        EXPECT_NE(std::string::npos, text.find(line)) << line << "\n" << text;
}

TEST_F(SettingsFileTest, ValuesOfAnotherTypeReadAsMissing)
{
    const pv::SettingsStore s = Sample();
    EXPECT_EQ(25, s.ReadInt("config", "gridW"));
    EXPECT_FALSE(s.ReadDouble("config", "gridW"));
    EXPECT_FALSE(s.ReadString("config", "gridW"));
    EXPECT_FALSE(s.ReadInt("penSetting\\wc2", "WIDTH"));
    EXPECT_FALSE(s.ReadInt("nowhere", "gridW"));
}

TEST_F(SettingsFileTest, DamagedFilesAreReportedAndReadAsEmpty)
{
    const char *damaged[] = {
        "[config]\ngridW=int:25x\n", "[config]\ngridW=long:25\n", "gridW=int:25\n",
        "[config\n", "[config]\nface=str:bad\\q\n", "[config]\nraw=hex:0\n", "[config]\nx=double:nan\n",
        "[config]\nx=int:99999999999\n",
    };
    for (const char *text : damaged) {
        const fs::path path = folder_ / "damaged.ini";
        std::ofstream(path) << text;
        const pv::SettingsLoad load = pv::LoadSettingsFile(path);
        EXPECT_NE("", load.problem) << text;
        EXPECT_TRUE(load.store.Keys().empty()) << text;
    }
    const pv::SettingsLoad missing = pv::LoadSettingsFile(folder_ / "none.ini");
    EXPECT_FALSE(missing.existed);
    EXPECT_EQ("", missing.problem) << "a first start is no problem";
}

TEST_F(SettingsFileTest, AFailedSaveKeepsTheOldFile)
{
    const fs::path path = folder_ / "s.ini";
    ASSERT_TRUE(pv::SaveSettingsFile(path, Sample()));
    const std::string before = Read(path);

    // A write that fails half-way: the old file stays, and no temporary file is left behind.
    std::string problem;
    EXPECT_FALSE(pv::ReplaceFileAtomically(path, [](int fd) { return pv::WriteAll(fd, "[x", 2) && false; }, &problem));
    EXPECT_NE("", problem);
    EXPECT_EQ(before, Read(path));
    EXPECT_EQ(1, std::distance(fs::directory_iterator(folder_), fs::directory_iterator{}));

    // A folder that cannot be made (a file stands where it should be).
    std::ofstream(folder_ / "file") << "x";
    EXPECT_FALSE(pv::SaveSettingsFile(folder_ / "file" / "s.ini", Sample(), &problem));
}

TEST_F(SettingsFileTest, PathFollowsXdgConfigHome)
{
    const char *old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(fs::path("/cfg/Lumenhaus/Pictavella3 Plus.ini"), pv::SettingsFilePath("Pictavella3 Plus"));
    ::setenv("XDG_CONFIG_HOME", "", 1);
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(fs::path("/home/u/.config/Lumenhaus/Pictavella3 Plus.ini"), pv::SettingsFilePath("Pictavella3 Plus"));
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
