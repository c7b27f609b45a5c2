// The length rule over every (group, code) pair, against the rule written out as the format
// states it, and the group properties that readers rely on.
#include "events/PacketTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace pv::events {
namespace {

// A fixed part filled with 0x03 bytes: every size field then reads 0x0303 or 0x03030303.
constexpr uint64_t k16 = 0x0303;
constexpr uint64_t k32 = 0x03030303;

struct Rule {
    int group;
    std::vector<int> codes; // empty: every code
    std::function<uint64_t(int code)> length;
};

std::vector<int> Range(int first, int last)
{
    std::vector<int> v;
    for (int c = first; c <= last; ++c)
        v.push_back(c);
    return v;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> v;
    for (const auto &p : parts)
        v.insert(v.end(), p.begin(), p.end());
    return v;
}

auto Fixed(uint64_t n) { return [n](int) { return n; }; }

const std::vector<Rule> &LengthRules()
{
    static const std::vector<Rule> rules = {
        {0, {0, 5}, Fixed(12)},
        {0, {2, 3, 8}, Fixed(4)},
        {0, {4}, Fixed(16)},
        {0, {12, 13}, Fixed(2)},
        {0, {16, 17}, Fixed(8)},
        {0, {18}, Fixed(22)},
        {0, {32}, Fixed(68)},
        {0, {37}, Fixed(20)},
        {0, {33}, Fixed(2 + k16)},
        {0, {36}, Fixed(160 + k32)},
        {0, {40}, Fixed(12 + k16)},
        {0, {128, 129}, Fixed(22 + k32)},
        {0, {136}, Fixed(4 + k32)},
        {1, {}, Fixed(4 + k32)},
        {2, {0}, Fixed(16)},
        {2, {1, 24, 25, 26}, Fixed(4)},
        {2, {2, 3, 9}, Fixed(10)},
        {2, Join({{4, 5, 7}, Range(16, 19), {254, 255}}), Fixed(0)},
        {2, {6}, Fixed(18)},
        {2, {8}, Fixed(28)},
        {4, {0}, Fixed(14)},
        {4, Join({Range(1, 5), {8, 9, 24, 25}, Range(32, 37)}), Fixed(4)},
        {4, {6, 7, 10, 38, 39}, Fixed(12)},
        {4, {11}, Fixed(42 + k16)},
        {4, {12, 13}, Fixed(20)},
        {4, {16, 17, 18, 20}, Fixed(6)},
        {4, {19}, Fixed(4 + k16)},
        {4, {21}, Fixed(18)},
        {6, Join({Range(0, 3), {5}}), Fixed(22)},
        {6, {4}, Fixed(4 + 8 * k16)},
        {10, Join({Range(0, 6), {11, 20, 21}}), Fixed(4)},
        {10, Join({Range(7, 10), {13, 14, 22, 24, 25, 26}}), Fixed(12)},
        {10, {12}, Fixed(4 + k16)},
        {10, {16, 17}, Fixed(22)},
        {10, {18}, Fixed(8 + 8 * k16)},
        {12, {0, 1, 2}, Fixed(22 + k32)},
        {13, {0, 1, 16, 17, 32}, Fixed(54 + k32)},
        {13, {2, 3}, Fixed(72 + k32)},
        {16, {0}, Fixed(4)},
        {20, {0}, Fixed(4)},
        {21, {0}, Fixed(4)},
        {22, {0}, Fixed(4)},
        {23, {0}, Fixed(4)},
        {24, {0}, Fixed(4)},
        {17, {}, [](int code) { return 12u * code; }},
        {18, {}, [](int code) { return 12u * code; }},
        {32, {0, 1, 8, 9, 20}, Fixed(4)},
        {33, {2, 10, 18, 21, 22, 23, 32, 34}, Fixed(12)},
        {34, {3, 17, 19, 33, 36}, Fixed(20)},
        {35, {16, 35, 37, 38}, Fixed(28)},
        {38, {}, Fixed(50 + k16)},
    };
    return rules;
}

const Rule *RuleFor(int group, int code)
{
    for (const Rule &rule : LengthRules()) {
        if (rule.group != group)
            continue;
        if (rule.codes.empty())
            return &rule;
        for (int c : rule.codes)
            if (c == code)
                return &rule;
    }
    return nullptr;
}

TEST(PacketLength, EveryGroupAndCodeFollowsTheLengthRule)
{
    const std::vector<uint8_t> fixedPart(kMaxFixedPart, 0x03);
    int known = 0;
    for (int group = 0; group < 256; ++group) {
        for (int code = 0; code < 256; ++code) {
            const Rule *rule = RuleFor(group, code);
            const auto length = PacketLength(fixedPart, 0, uint8_t(group), uint8_t(code));
            ASSERT_EQ(rule != nullptr, length.has_value()) << "group " << group << " code " << code;
            if (rule) {
                EXPECT_EQ(rule->length(code), *length) << "group " << group << " code " << code;
                ++known;
            }
        }
    }
    EXPECT_GT(known, 0);
}

TEST(PacketLength, FailsWhenTheFixedPartIsCutOff)
{
    struct Case {
        uint8_t group, code;
        size_t fixedPart;
    } cases[] = {
        {0, 36, 160}, // the size stands at the very end of the fixed part
        {4, 11, 42},
        {13, 2, 72},
        {2, 8, 28},
        {1, 99, 4},
    };
    for (const Case &c : cases) {
        std::vector<uint8_t> stream(c.fixedPart - 1, 0);
        EXPECT_FALSE(PacketLength(stream, 0, c.group, c.code)) << int(c.group) << "/" << int(c.code);
        stream.push_back(0);
        EXPECT_TRUE(PacketLength(stream, 0, c.group, c.code)) << int(c.group) << "/" << int(c.code);
    }
    const std::vector<uint8_t> stream(8, 0);
    EXPECT_FALSE(PacketLength(stream, 9, 2, 4)) << "an offset past the end";
    EXPECT_EQ(0u, PacketLength(stream, 8, 2, 4)) << "an empty payload at the very end";
}

TEST(PacketLength, ReadsSizesLittleEndian)
{
    std::vector<uint8_t> fixedPart(160, 0);
    fixedPart[156] = 0x01;
    fixedPart[157] = 0x02;
    fixedPart[158] = 0x03;
    fixedPart[159] = 0x04;
    EXPECT_EQ(160u + 0x04030201u, PacketLength(fixedPart, 0, 0, 36));
    // A 32-bit size near its maximum does not wrap in 64-bit arithmetic.
    std::fill(fixedPart.begin() + 156, fixedPart.end(), 0xFF);
    EXPECT_EQ(160u + 0xFFFFFFFFull, PacketLength(fixedPart, 0, 0, 36));
}

TEST(PacketGroups, NamesAndStepEnds)
{
    struct Case {
        uint8_t group;
        const char *name;
        bool endsStep;
    } cases[] = {
        {0, "State", false},         {1, "Info", false},          {2, "Paper", true},
        {4, "Layer", true},          {6, "SelectionImage", true}, {10, "Selection", true},
        {12, "LayerImage", true},    {13, "ChannelFill", true},   {16, "StrokeBegin", false},
        {17, "StrokePoints", false}, {18, "StrokeEnd", true},     {23, "StrokeBeginV2", false},
        {32, "Filter4", true},       {35, "Filter28", true},      {38, "FilterRecord", true},
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(IsKnownGroup(c.group));
        EXPECT_EQ(c.name, GroupName(c.group));
        EXPECT_EQ(c.endsStep, EndsStep(c.group)) << c.name;
    }
    for (uint8_t invalid : {3, 5, 7, 11, 14, 19, 25, 36, 37, 39, 255}) {
        EXPECT_FALSE(IsKnownGroup(invalid)) << int(invalid);
        EXPECT_FALSE(EndsStep(invalid)) << int(invalid);
    }
}

TEST(PacketGroups, StrokeBeginGroupsCarryGenerationAndOutline)
{
    struct Case {
        uint8_t group, version;
        bool outline;
    } cases[] = {{16, 0, false}, {20, 0, true}, {21, 1, false}, {22, 1, true}, {23, 2, false}, {24, 2, true}};
    for (const Case &c : cases) {
        const auto generation = StrokeGenerationOf(c.group);
        ASSERT_TRUE(generation) << int(c.group);
        EXPECT_EQ(c.version, generation->version);
        EXPECT_EQ(c.outline, generation->outline);
        EXPECT_EQ(c.group, StrokeBeginGroup({c.version, c.outline}));
    }
    EXPECT_FALSE(StrokeGenerationOf(17));
    EXPECT_FALSE(StrokeGenerationOf(25));
    EXPECT_FALSE(StrokeBeginGroup({3, false}));
}

} // namespace
} // namespace pv::events
