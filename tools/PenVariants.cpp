// The fourteen stored values of a pen variant, as one table read and written in order.
#include "tools/PenVariants.h"

#include <optional>

namespace pv {
namespace {

enum class Stored { Float, Bool, Int };

// One stored value: its name, how it is stored, and how it is read from and given to the pen
// (as a number; booleans are 0 or 1). `reset` tells whether the variant is loaded with reset.
struct VariantValue {
    const char *name;
    Stored type;
    double (*get)(const TStroke &);
    void (*set)(TStroke &, double, bool reset);
};

constexpr VariantValue kValues[] = {
    {"MIN", Stored::Float, [](const TStroke &p) -> double { return p.minSize(); },
     [](TStroke &p, double v, bool) { p.SetMinSize(float(v)); }},
    {"WIDTH", Stored::Float, [](const TStroke &p) -> double { return p.maxRadius(); },
     [](TStroke &p, double v, bool) { p.SetMaxRadius(float(v)); }},
    {"GAMMA", Stored::Float, [](const TStroke &p) -> double { return p.gamma(); },
     [](TStroke &p, double v, bool) { p.SetGamma(float(v)); }},
    {"EFFECT", Stored::Float, [](const TStroke &p) -> double { return p.effect(); },
     [](TStroke &p, double v, bool) { p.SetEffect(float(v)); }},
    {"ENV", Stored::Float, [](const TStroke &p) -> double { return p.env(); },
     [](TStroke &p, double v, bool) { p.SetEnv(float(v)); }},
    {"SPEED", Stored::Float, [](const TStroke &p) -> double { return p.speed(); },
     [](TStroke &p, double v, bool) { p.SetSpeed(float(v)); }},
    {"ifSIZE", Stored::Bool, [](const TStroke &p) -> double { return p.sizeByPressure(); },
     [](TStroke &p, double v, bool) { p.SetSizeByPressure(v != 0); }},
    {"ifTRANSPARENCY", Stored::Bool, [](const TStroke &p) -> double { return p.opacityByPressure(); },
     [](TStroke &p, double v, bool) { p.SetOpacityByPressure(v != 0); }},
    {"ifEDGE", Stored::Bool, [](const TStroke &p) -> double { return p.smoothEdge(); },
     [](TStroke &p, double v, bool) { p.SetSmoothEdge(v != 0); }},
    {"useTone", Stored::Bool, [](const TStroke &p) -> double { return p.useTone(); },
     [](TStroke &p, double v, bool reset) { p.SetUseTone(v != 0, reset); }},
    {"useGradation", Stored::Bool, [](const TStroke &p) -> double { return p.useGradation(); },
     [](TStroke &p, double v, bool reset) { p.SetUseGradation(v != 0, reset); }},
    // The pen's own density: the effective one is 1.0 under the legacy engine and would
    // overwrite the user's value.
    {"opaque", Stored::Float, [](const TStroke &p) -> double { return p.density(); },
     [](TStroke &p, double v, bool) { p.SetDensity(float(v)); }},
    {"penSpacing", Stored::Float, [](const TStroke &p) -> double { return p.EffectiveInterval(); },
     [](TStroke &p, double v, bool) { p.SetSpacing(float(v)); }},
    {"airMap", Stored::Int, [](const TStroke &p) -> double { return p.airMap(); },
     [](TStroke &p, double v, bool reset) { p.SetAirMap(int(v), reset); }},
};

std::optional<double> ReadValue(const SettingsStore &store, const std::string &key, const VariantValue &v)
{
    if (v.type == Stored::Float)
        return store.ReadDouble(key, v.name);
    if (const auto i = store.ReadInt(key, v.name))
        return v.type == Stored::Bool ? (*i != 0) : *i;
    return std::nullopt;
}

void WriteValue(SettingsStore &store, const std::string &key, const VariantValue &v, double value)
{
    if (v.type == Stored::Float)
        store.WriteDouble(key, v.name, value);
    else
        store.WriteInt(key, v.name, static_cast<int32_t>(value));
}

} // namespace

std::string PenVariantKey(int kind, int variant)
{
    if (!IsValidPenKind(kind) || variant < 1 || variant > kPenVariants)
        return {};
    return std::string(kPenSettingKey) + "\\" + std::string(PenKindOf(uint8_t(kind)).registryName) +
           std::to_string(variant);
}

void LoadPenVariant(TStroke &pen, const SettingsStore &store, int kind, int variant, bool reset)
{
    const std::string key = PenVariantKey(kind, variant);
    if (key.empty())
        return;
    if (reset)
        pen.ApplyDefaults(kind);
    for (const VariantValue &v : kValues)
        if (const auto value = ReadValue(store, key, v))
            v.set(pen, *value, reset);
}

void SavePenVariant(const TStroke &pen, SettingsStore &store, int kind, int variant)
{
    const std::string key = PenVariantKey(kind, variant);
    if (key.empty())
        return;
    for (const VariantValue &v : kValues)
        WriteValue(store, key, v, v.get(pen));
}

int ImportOlderPenSettings(const SettingsStore &older, SettingsStore &store)
{
    int copied = 0;
    for (int kind = kPenPencil; kind <= kPenAirbrush; ++kind) {
        for (int variant = 1; variant <= kPenVariants; ++variant) {
            const std::string key = PenVariantKey(kind, variant);
            bool complete = true;
            for (const VariantValue &v : kValues)
                complete = complete && ReadValue(older, key, v).has_value();
            if (!complete)
                continue;
            for (const VariantValue &v : kValues)
                store.Write(key, v.name, older.Keys().at(key).at(v.name)); // unchanged
            ++copied;
        }
    }
    return copied;
}

} // namespace pv
