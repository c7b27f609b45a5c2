// The environment settings dialog's OK checks, in the order the dialog makes them.
#include "app/EnvSettings.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TEST(EnvSettings, OkChecksAndTheirMessages)
{
    auto exists = [](const std::string &path) { return path.starts_with("/here/"); };
    using S = EnvSettings;
    struct Case {
        const char *what;
        std::string S::*field; // the one field changed from the dialog's default texts
        const char *value;
        std::optional<std::string> message;
    } cases[] = {
        {"all well", &S::gridW, "25", std::nullopt},
        {"an empty field", &S::undoMax, "", "空欄があります！"},
        {"grid too fine", &S::gridH, "1", "ｸﾞﾘｯﾄﾞは 2 ～ 500 にしてください！"},
        {"grid not a number", &S::gridW, "2x", "ｸﾞﾘｯﾄﾞは 2 ～ 500 にしてください！"},
        {"too many undos", &S::undoMax, "51", "ｱﾝﾄﾞｩ回数は 0 ～ 50 にしてください！"},
        {"a missing palette", &S::palFile, "/gone/p.ppl", "/gone/p.ppl が見つかりません！"},
        {"a wrong extension", &S::toneFile, "/here/t.pgs", "不正な拡張子です！\r    path = /here/t.pgs"},
        {"an upper-case extension", &S::gradFile, "/here/g.PGS", "不正な拡張子です！\r    path = /here/g.PGS"},
        {"the default set needs no file", &S::gradFile, "/gone/Default.pgs", std::nullopt},
        {"an existing file", &S::toneFile, "/here/b.pts", std::nullopt},
    };
    for (const Case &c : cases) {
        EnvSettings s;
        s.*c.field = c.value;
        EXPECT_EQ(c.message, CheckEnvSettings(s, exists)) << c.what;
    }
}

TEST(EnvSettings, ApplyingStoresTheValues)
{
    CAppProfile p;
    EnvSettings s = EnvSettings::From(p);
    EXPECT_EQ("25", s.gridW);
    EXPECT_EQ(2, s.psdVersionIndex) << "version 6 is the third choice";
    s.gridW = "40";
    s.psdVersionIndex = 7;
    s.useAutoScroll = true;
    ApplyEnvSettings(s, p);
    EXPECT_EQ(40, p.gridW);
    EXPECT_EQ(6, p.psdSaveVer) << "the index is clamped to 0..2";
    EXPECT_TRUE(p.useAutoScroll);
    EXPECT_STREQ("表示位置の移動", kMiddleButtonFunctions[0]);
    EXPECT_STREQ("自動選択範囲", kMiddleButtonFunctions[10]);
}

} // namespace
} // namespace pv
