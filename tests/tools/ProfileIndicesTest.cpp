// The profile indices of a dab row, four at a time, against the per-pixel formula: inside and
// outside the radius, at the rim, for rows shorter and longer than a vector, and radii from a
// fraction of a pixel to the largest pen.
#include "tools/ProfileIndices.h"

#include "tools/DabProfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace pv {
namespace {

int32_t Expected(int32_t i, double x, double dy, double scale, double r2)
{
    const double dx = i + 0.5 - x, d2 = dx * dx + dy * dy;
    return d2 >= r2 ? -1 : std::min(kProfileSize - 1, int32_t(std::sqrt(d2) * scale));
}

TEST(ProfileIndices, SameAsEachPixelAlone)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int inside = 0, outside = 0;
    for (const float radius : {0.3f, 1.0f, 2.5f, 16.0f, 63.7f, 200.0f})
        for (int trial = 0; trial < 40; ++trial) {
            const float x = 300.0f + unit(random) * 10.0f, y = 200.0f + unit(random) * 10.0f;
            const double scale = 2047.0 / radius, r2 = double(radius) * radius;
            const int32_t x0 = int32_t(std::floor(x - radius)) - trial % 3, count = int32_t(std::ceil(2 * radius)) + trial % 7;
            const double dy = int32_t(y) + trial % 5 - 2 + 0.5 - y;
            std::vector<int32_t> got(static_cast<size_t>(count));
            ProfileIndices(got.data(), count, x0, x, dy, scale, r2);
            for (int32_t i = 0; i < count; ++i) {
                const int32_t want = Expected(x0 + i, x, dy, scale, r2);
                ASSERT_EQ(want, got[size_t(i)]) << "radius " << radius << " pixel " << i;
                (want < 0 ? outside : inside)++;
            }
        }
    EXPECT_GT(inside, 1000);
    EXPECT_GT(outside, 100);
}

} // namespace
} // namespace pv
