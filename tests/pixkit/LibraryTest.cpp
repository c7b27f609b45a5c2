// The library frame and its small services: version, error record, ordinals, block
// allocator, the dword maps, the colour conversions and the clock.
#include "pixkit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

TEST(Library, VersionErrorRecordAndAllocator)
{
    EXPECT_EQ(gdllGetVersion(), 0x000A0001u);
    PixkitErrorRecord *record = gdllGetExtInfo(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->message, record->text);
    EXPECT_EQ(gdllGetExtInfo(1), nullptr);
    void *block = pixkitLocalAlloc(0);
    EXPECT_NE(block, nullptr);
    pixkitLocalFree(block);
    pixkitLocalFree(nullptr);
}

TEST(Library, OrdinalTableNamesTheFunctions)
{
    const std::map<int, void *> expected = {
        {8, reinterpret_cast<void *>(&pixkitCompress)},
        {9, reinterpret_cast<void *>(&pixkitDecompressUnbounded)},
        {16, reinterpret_cast<void *>(&pixkitSetPngSoftware)},
        {30, reinterpret_cast<void *>(&pixkitRgbToHls)},
        {31, reinterpret_cast<void *>(&pixkitHlsToRgb)},
        {32, reinterpret_cast<void *>(&pixkitLightness)},
        {68, reinterpret_cast<void *>(&pixkitMeasureClock)},
    };
    for (int ordinal = -1; ordinal <= 100; ++ordinal) {
        const auto found = expected.find(ordinal);
        EXPECT_EQ(pixkitOrdinal(ordinal), found != expected.end() ? found->second : nullptr) << ordinal;
    }
}

TEST(MapDD, StoresLooksUpRemovesAndIterates)
{
    PixkitMapDD map = nullptr;
    ASSERT_EQ(mapDDCreate(&map, 16), PIXKIT_OK);
    EXPECT_EQ(mapDDIsValid(map), PIXKIT_OK);
    EXPECT_EQ(mapDDGetStartPosition(map), 0);
    for (uint32_t k = 0; k < 100; ++k)
        ASSERT_EQ(mapDDSetAt(map, k * 7919u, k), PIXKIT_OK);
    ASSERT_EQ(mapDDSetAt(map, 0, 555), PIXKIT_OK);   // replaces
    int32_t count = 0;
    ASSERT_EQ(mapDDGetCount(map, &count), PIXKIT_OK);
    EXPECT_EQ(count, 100);

    uint32_t value = 0;
    EXPECT_EQ(mapDDLookup(map, 0, &value), 1);
    EXPECT_EQ(value, 555u);
    EXPECT_EQ(mapDDRemoveKey(map, 7919u * 5), PIXKIT_OK);
    EXPECT_EQ(mapDDLookup(map, 7919u * 5, &value), 0);
    EXPECT_EQ(mapDDLookup(map, 7919u * 6, &value), 1);
    EXPECT_EQ(value, 6u);

    std::map<uint32_t, uint32_t> seen;
    intptr_t position = mapDDGetStartPosition(map);
    EXPECT_EQ(position, -1);
    while (position != 0) {
        uint32_t key = 0;
        ASSERT_EQ(mapDDGetNextAssoc(map, &position, &key, &value), PIXKIT_OK);
        seen[key] = value;
    }
    EXPECT_EQ(seen.size(), 99u);
    EXPECT_EQ(seen.count(7919u * 5), 0u);
    EXPECT_EQ(seen[7919u * 99], 99u);

    EXPECT_EQ(mapDDRemoveAll(map), PIXKIT_OK);
    EXPECT_EQ(mapDDGetStartPosition(map), 0);
    EXPECT_EQ(mapDDDestroy(map), PIXKIT_OK);
}

TEST(MapDD, AnythingElseIsNotAMap)
{
    int notAMap = 0;
    PixkitMapDD destroyed = nullptr;
    ASSERT_EQ(mapDDCreate(&destroyed, 0), PIXKIT_OK);
    ASSERT_EQ(mapDDDestroy(destroyed), PIXKIT_OK);
    for (PixkitMapDD handle : {static_cast<PixkitMapDD>(nullptr), static_cast<PixkitMapDD>(&notAMap), destroyed}) {
        uint32_t value = 0;
        int32_t count = 0;
        intptr_t position = -1;
        EXPECT_EQ(mapDDIsValid(handle), PIXKIT_NOT_A_MAP);
        EXPECT_EQ(mapDDDestroy(handle), PIXKIT_NOT_A_MAP);
        EXPECT_EQ(mapDDLookup(handle, 1, &value), 0);
        EXPECT_EQ(mapDDSetAt(handle, 1, 2), PIXKIT_NOT_A_MAP);
        EXPECT_EQ(mapDDRemoveKey(handle, 1), PIXKIT_NOT_A_MAP);
        EXPECT_EQ(mapDDRemoveAll(handle), PIXKIT_NOT_A_MAP);
        EXPECT_EQ(mapDDGetCount(handle, &count), PIXKIT_NOT_A_MAP);
        EXPECT_EQ(mapDDGetStartPosition(handle), 0);
        EXPECT_EQ(mapDDGetNextAssoc(handle, &position, &value, &value), PIXKIT_NOT_A_MAP);
    }
}

TEST(Hls, KnownColoursAndTheirInverse)
{
    struct Case {
        uint8_t bgr[3];
        float hue, lightness, saturation;
    };
    const Case cases[] = {
        {{0, 0, 255}, 0, 127.5f, 255},       // red
        {{0, 255, 0}, 120, 127.5f, 255},     // green
        {{255, 0, 0}, 240, 127.5f, 255},     // blue
        {{255, 0, 255}, 300, 127.5f, 255},   // magenta: hue brought into [0, 360)
        {{128, 128, 128}, 0, 128, 0},        // grey
        {{64, 128, 192}, 30, 128, 128.5f},   // red largest, lightness above one half
    };
    for (const Case &c : cases) {
        float hls[3];
        pixkitRgbToHls(c.bgr, hls);
        EXPECT_NEAR(hls[0], c.hue, 0.05f);
        EXPECT_NEAR(hls[1], c.lightness, 0.05f);
        EXPECT_NEAR(hls[2], c.saturation, 0.6f);
        uint8_t back[3];
        pixkitHlsToRgb(hls, back);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(back[i], c.bgr[i], 1) << i;
    }
    const uint8_t colour[3] = {10, 200, 90};
    EXPECT_EQ(pixkitLightness(colour), (200 + 10) >> 1);
}

TEST(Clock, MeasuresAPositiveRateAndNeverDividesByZero)
{
    auto *measure = reinterpret_cast<void (*)(int, double *)>(pixkitOrdinal(68));
    double rate = -1;
    measure(20, &rate);
    EXPECT_GT(rate, 1e6);
    rate = -1;
    measure(0, &rate);
    EXPECT_GE(rate, 0.0);
    EXPECT_FALSE(std::isinf(rate));
    measure(-5, &rate);
    EXPECT_FALSE(std::isinf(rate));
}

} // namespace
