// A normal instance's start and end: the title and query answers, the language table (found
// beside the program or in the data folder, read or refused), and settings read at the start
// and written back at the end.
#include "app/AppSession.h"

#include "platform/SettingsFile.h"
#include "KeptMessages.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

namespace pv {
namespace {

namespace fs = std::filesystem;

class AppSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("pv-session-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "share");
    }
    void TearDown() override { fs::remove_all(root_); }
    SessionFiles Files() const
    {
        return {root_ / "config" / "Pictavella3 Plus.ini", root_ / "config" / "Pictavella2.ini", root_ / "bin", root_ / "share"};
    }
    void Table(const fs::path &folder, const std::string &text) { std::ofstream(folder / kLanguageTableName) << text; }

    fs::path root_;
    KeptMessages messages_;
};

TEST(AppTitle, TitlesAndAnswers)
{
    EXPECT_EQ("Pictavella3.05E Plus", ApplicationTitle(false));
    EXPECT_EQ("Pictavella3.05E Plus Render!", ApplicationTitle(true));
    StartOptions options;
    EXPECT_STREQ("PV20", QueryAnswer(options));
    options.unattended = true;
    EXPECT_STREQ("PVRe", QueryAnswer(options));
    options.viewer = true;
    EXPECT_STREQ("PVVw", QueryAnswer(options));
}

TEST_F(AppSessionTest, LanguageTables)
{
    const struct {
        const char *name;
        const char *besideProgram; // nullptr: no table there
        const char *inDataFolder;
        bool starts;
        const char *greeting; // the text for "hello" afterwards
    } cases[] = {
        {"no table", nullptr, nullptr, true, "こんにちは"},
        {"in the data folder", nullptr, "# English\nhello\tHello\\r  there\n\nbye\tBye\n", true, "Hello\r  there"},
        {"beside the program first", "hello\tHi\n", "hello\tHello\n", true, "Hi"},
        {"a line without a tab", "hello Hello\n", nullptr, false, "こんにちは"},
        {"text that is not UTF-8", "hello\t\xff\xfe\n", nullptr, false, "こんにちは"},
        {"an unknown escape", "hello\tHel\\lo\n", nullptr, false, "こんにちは"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(root_ / "bin" / kLanguageTableName);
        fs::remove(root_ / "share" / kLanguageTableName);
        if (c.besideProgram)
            Table(root_ / "bin", c.besideProgram);
        if (c.inDataFolder)
            Table(root_ / "share", c.inDataFolder);
        messages_.warnings.clear();
        AppSession session(Files());
        EXPECT_EQ(c.starts, session.Begin(SystemInfo{}));
        EXPECT_EQ(c.greeting, session.texts.Text("hello", "こんにちは"));
        if (c.starts) {
            EXPECT_TRUE(messages_.warnings.empty());
            EXPECT_EQ((c.besideProgram || c.inDataFolder) ? 2 : 0, session.profile.system.languageCode);
        } else {
            ASSERT_EQ(1u, messages_.warnings.size());
            EXPECT_EQ(0u, messages_.warnings[0].find("Failed to load \"" + (root_ / "bin" / kLanguageTableName).string() + "\"!"))
                << messages_.warnings[0];
        }
    }
}

TEST_F(AppSessionTest, SettingsComeBackAtTheNextStart)
{
    {
        AppSession first(Files());
        ASSERT_TRUE(first.Begin(SystemInfo{}));
        EXPECT_EQ(8, first.profile.undoMax) << "the default";
        first.profile.undoMax = 23;
        first.End();
    }
    AppSession second(Files());
    ASSERT_TRUE(second.Begin(SystemInfo{}));
    EXPECT_EQ(23, second.profile.undoMax);
    EXPECT_EQ(CAppProfile::kCurrentVersion, second.profile.appVerID);

    // A damaged file is reported and read as empty.
    std::ofstream(Files().settings) << "[config\nnot a line\n";
    AppSession third(Files());
    EXPECT_TRUE(third.Begin(SystemInfo{}));
    EXPECT_EQ(8, third.profile.undoMax);
    EXPECT_EQ(1u, messages_.warnings.size());
}

} // namespace
} // namespace pv
