// A soft dab's coverage row, four pixels at a time, against the per-pixel formula: inside and
// outside the radius, at the rim, for rows shorter and longer than a vector, radii from a
// fraction of a pixel to the largest pen, every profile, and strengths up to and beyond what
// the vector form takes.
#include "tools/ProfileCoverages.h"

#include "tools/DabProfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace pv {
namespace {

uint8_t Expected(int32_t i, double x, double dy, double scale, double r2, const ProfileTable &profile, int64_t strength)
{
    const double dx = i + 0.5 - x, d2 = dx * dx + dy * dy;
    if (d2 >= r2)
        return 0;
    const int32_t index = std::min(kProfileSize - 1, int32_t(std::sqrt(d2) * scale));
    return uint8_t(std::clamp<int64_t>((profile[size_t(index)] * strength) >> 32, 0, 255));
}

TEST(ProfileCoverages, SameAsEachPixelAlone)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int inside = 0, outside = 0;
    for (int airMap = 0; airMap <= 4; ++airMap) {
        const ProfileTable profile = BuildProfile(airMap);
        for (const int64_t strength : {int64_t(65536), int64_t(32768), int64_t(1), int64_t(UINT32_MAX), int64_t(1) << 33})
            for (const float radius : {0.3f, 2.5f, 16.0f, 63.7f, 200.0f})
                for (int trial = 0; trial < 6; ++trial) {
                    const float x = 300.0f + unit(random) * 10.0f, y = 200.0f + unit(random) * 10.0f;
                    const double scale = 2047.0 / radius, r2 = double(radius) * radius;
                    const int32_t x0 = int32_t(std::floor(x - radius)) - trial % 3;
                    const int32_t count = int32_t(std::ceil(2 * radius)) + trial % 7;
                    const double dy = int32_t(y) + trial % 5 - 2 + 0.5 - y;
                    std::vector<uint8_t> got(static_cast<size_t>(count));
                    ProfileCoverages(got.data(), count, x0, x, dy, scale, r2, profile.data(), strength);
                    for (int32_t i = 0; i < count; ++i) {
                        const uint8_t want = Expected(x0 + i, x, dy, scale, r2, profile, strength);
                        ASSERT_EQ(want, got[size_t(i)]) << "profile " << airMap << " strength " << strength << " radius "
                                                        << radius << " pixel " << i;
                        (want == 0 ? outside : inside)++;
                    }
                }
    }
    EXPECT_GT(inside, 10000);
    EXPECT_GT(outside, 1000);
}

} // namespace
} // namespace pv
