// Named pen settings: five variants per kind, kept in the settings store under
// "penSetting\<registry name><1..5>" with fourteen values each, and the one-time import of
// the variants of the previous major version.
#pragma once

#include "platform/SettingsStore.h"
#include "tools/TStroke.h"

#include <string>

namespace pv {

constexpr char kPenSettingKey[] = "penSetting";
constexpr int kPenVariants = 5;

// "penSetting\wc2" for kind 1, variant 2; empty when kind or variant is out of range.
std::string PenVariantKey(int kind, int variant);

// Applies the kind's defaults when reset is set, then every stored value through its setter.
// "useTone", "useGradation" rebuild the pipeline and "airMap" the profile only with reset.
void LoadPenVariant(TStroke &pen, const SettingsStore &store, int kind, int variant, bool reset);

// Writes all fourteen values of the pen (its own density, its effective interval).
void SavePenVariant(const TStroke &pen, SettingsStore &store, int kind, int variant);

// Copies every complete variant of kinds 0..5 from the older program's settings; returns
// how many keys were copied.
int ImportOlderPenSettings(const SettingsStore &older, SettingsStore &store);

} // namespace pv
