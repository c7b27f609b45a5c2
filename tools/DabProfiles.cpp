// The density profiles and the exposure curve.
#include "tools/DabProfiles.h"

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

constexpr int32_t kFull = 255 << 16;

int32_t Fixed(double v) { return int32_t(v * 65536.0); }

struct Current {
    int airMap = 3;
    ProfileTable table = BuildProfile(3);
};

Current &TheCurrent()
{
    static Current current;
    return current;
}

} // namespace

ProfileTable BuildProfile(int airMap)
{
    airMap = std::clamp(airMap, 0, 4);
    ProfileTable t{};
    for (int i = 0; i < kProfileSize; ++i) {
        const double x = i / 2047.0;
        switch (airMap) {
        case 0: t[i] = i < 1844 ? kFull : kFull - int32_t(int64_t(kFull) * (i - 1844) / 203); break;
        case 1: t[i] = Fixed(255.0 * std::sqrt(std::max(0.0, 1.0 - x * x))); break;
        case 2: t[i] = Fixed(255.0 * (2 * x * x * x - 3 * x * x + 1)); break;
        case 3: t[i] = int32_t(int64_t(kFull) * (2047 - i) / 2047); break;
        default: t[i] = Fixed(255.0 * (1.0 - std::sqrt(std::max(0.0, 1.0 - (1 - x) * (1 - x))))); break;
        }
        t[i] = std::clamp(t[i], 0, kFull);
    }
    return t;
}

void SelectProfile(int airMap)
{
    Current &c = TheCurrent();
    airMap = std::clamp(airMap, 0, 4);
    if (c.airMap == airMap)
        return;
    c.table = BuildProfile(airMap);
    c.airMap = airMap;
}

const ProfileTable &CurrentProfile() { return TheCurrent().table; }

ProfileTable BuildExposure(double exponent)
{
    ProfileTable t{};
    for (int i = 0; i < kProfileSize; ++i)
        t[i] = int32_t(std::lround(std::pow(i / 2047.0, exponent) * 65536.0));
    return t;
}

} // namespace pv
