// The five density profiles of soft dabs and the exposure curve of the darken and lighten
// pens: 2048-entry tables of 16.16 values indexed by the distance from the centre (or the
// lightness) scaled to 0..2047.
#pragma once

#include <array>
#include <cstdint>

namespace pv {

constexpr int kProfileSize = 2048;
using ProfileTable = std::array<int32_t, kProfileSize>;

// Profile n (0..4, others are kept to that range): values between 0 and 255.0.
ProfileTable BuildProfile(int airMap);
// Makes the profile of airMap current; rebuilt only when it differs from the last one built.
void SelectProfile(int airMap);
// The current profile (profile 3 until another is selected).
const ProfileTable &CurrentProfile();

// Entry i = (i / 2047)^exponent in 16.16.
ProfileTable BuildExposure(double exponent);

} // namespace pv
