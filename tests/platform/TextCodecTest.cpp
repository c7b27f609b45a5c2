// CP932 at the file boundary: Japanese names survive a round trip, bad bytes do not break it.
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCodec, JapaneseTextRoundTripsThroughCp932)
{
    const std::string names[] = {"", "Layer 1", "レイヤー１", "選択範囲の新規作成", "網点 ①"};
    for (const std::string &name : names)
        EXPECT_EQ(name, pv::Cp932ToUtf8(pv::Utf8ToCp932(name))) << name;
    EXPECT_EQ("\x83\x8C\x83\x43\x83\x84", pv::Utf8ToCp932("レイヤ"));
}

TEST(TextCodec, UnrepresentableAndDamagedTextIsReplaced)
{
    EXPECT_EQ("a?b", pv::Utf8ToCp932("a😀b"));
    EXPECT_EQ("a\xEF\xBF\xBD", pv::Cp932ToUtf8("a\x83")) << "a lead byte without its trail byte";
    EXPECT_EQ("?", pv::Utf8ToCp932("\xFF")) << "invalid UTF-8";
}

} // namespace
