// Pen parameters: per-kind defaults, the ranges every setter keeps, derived values, stored
// variants, the one-time import, the slots and the colour manager.
#include "tools/CColorMngr.h"
#include "tools/PenSlots.h"
#include "tools/PenVariants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pv {
namespace {

TEST(PenDefaults, EachKindStartsFromItsOwnValues)
{
    struct Case {
        int kind;
        float minSize, maxRadius, effect, env, speed, spacing, density;
        bool size, opacity, edge;
        int airMap;
    } cases[] = {
        {kPenPencil, 75, 1, 0, 0, 0, 0.5f, 1, true, true, false, 0},
        {kPenWatercolour, 33.3f, 16, 65, 40, 30, 0.5f, 1, true, true, false, 0},
        {kPenBlur, 100, 12, 10, 0, 0, 0.5f, 1, false, false, false, 0},
        {kPenEraser, 100, 12, 0, 0, 0, 0.5f, 1, false, true, true, 0},
        {kPenBlur2, 0, 0.1f, 0, 0, 0, 0.5f, 1, false, false, false, 0},
        {kPenAirbrush, 60, 30, 0, 0, 0, 0.15f, 0.1f, true, true, false, 3},
        {kPenFingerTip, 60, 15, 0, 0, 0, 0.04f, 0.6f, false, true, false, 3},
        {kPenDarken, 60, 25, 50, 0, 0, 0.15f, 0.2f, true, true, false, 1},
        {kPenLighten, 60, 25, 50, 0, 0, 0.15f, 0.2f, true, true, false, 1},
    };
    for (const Case &c : cases) {
        TStroke pen;
        pen.SetGamma(3);
        pen.SetUseTone(true, false);
        pen.ApplyDefaults(c.kind);
        EXPECT_EQ(c.kind, pen.kind());
        EXPECT_FLOAT_EQ(c.minSize, pen.minSize()) << c.kind;
        EXPECT_FLOAT_EQ(c.maxRadius, pen.maxRadius()) << c.kind;
        EXPECT_FLOAT_EQ(c.effect, pen.effect()) << c.kind;
        EXPECT_FLOAT_EQ(c.env, pen.env()) << c.kind;
        EXPECT_FLOAT_EQ(c.speed, pen.speed()) << c.kind;
        EXPECT_FLOAT_EQ(c.spacing, pen.spacing()) << c.kind;
        EXPECT_FLOAT_EQ(c.density, pen.density()) << c.kind;
        EXPECT_EQ(c.size, pen.sizeByPressure()) << c.kind;
        EXPECT_EQ(c.opacity, pen.opacityByPressure()) << c.kind;
        EXPECT_EQ(c.edge, pen.smoothEdge()) << c.kind;
        EXPECT_EQ(c.airMap, pen.airMap()) << c.kind;
        EXPECT_FLOAT_EQ(1.0f, pen.gamma());
        EXPECT_FALSE(pen.useTone());
    }
    TStroke pen;
    pen.SetAirMap(2, false);
    pen.ApplyDefaults(kPenPencil);
    EXPECT_EQ(2, pen.airMap()) << "kinds without a profile leave it as it is";
}

TEST(PenParameters, SettersKeepTheirRangesAndRefuseNonFiniteValues)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char *field;
        void (TStroke::*set)(float);
        float (TStroke::*get)() const;
        float in, out;
    } cases[] = {
        {"maxRadius", &TStroke::SetMaxRadius, &TStroke::maxRadius, 0, 0.1f},
        {"maxRadius", &TStroke::SetMaxRadius, &TStroke::maxRadius, 500, 200},
        {"minSize", &TStroke::SetMinSize, &TStroke::minSize, -5, 0},
        {"minSize", &TStroke::SetMinSize, &TStroke::minSize, 101, 100},
        {"gamma", &TStroke::SetGamma, &TStroke::gamma, 0, 0.01f},
        {"gamma", &TStroke::SetGamma, &TStroke::gamma, -2, 0.01f},
        {"gamma", &TStroke::SetGamma, &TStroke::gamma, 9, 6},
        {"effect", &TStroke::SetEffect, &TStroke::effect, 150, 100},
        {"env", &TStroke::SetEnv, &TStroke::env, -1, 0},
        {"speed", &TStroke::SetSpeed, &TStroke::speed, 1e9f, 100},
        {"density", &TStroke::SetDensity, &TStroke::density, 0, 0.01f},
        {"density", &TStroke::SetDensity, &TStroke::density, 2, 1},
        {"spacing", &TStroke::SetSpacing, &TStroke::spacing, 0, 0.02f},
        {"spacing", &TStroke::SetSpacing, &TStroke::spacing, 3, 2},
    };
    for (const Case &c : cases) {
        TStroke pen;
        (pen.*c.set)(c.in);
        EXPECT_FLOAT_EQ(c.out, (pen.*c.get)()) << c.field << " set to " << c.in;
        const float kept = (pen.*c.get)();
        for (float bad : {nan, inf, -inf}) {
            (pen.*c.set)(bad);
            EXPECT_FLOAT_EQ(kept, (pen.*c.get)()) << c.field << " set to " << bad;
        }
    }
    TStroke pen;
    pen.SetAirMap(9, false);
    EXPECT_EQ(4, pen.airMap());
    pen.SetAirMap(-1, false);
    EXPECT_EQ(0, pen.airMap());
    EXPECT_FALSE(pen.SetKind(9));
    EXPECT_EQ(kPenPencil, pen.kind());
}

TEST(PenParameters, ModifiedIsSetOnlyByRealChanges)
{
    TStroke pen;
    pen.SetMaxRadius(5);
    EXPECT_TRUE(pen.modified());
    pen.ClearModified();
    pen.SetMaxRadius(5);
    pen.SetMaxRadius(0.05f); // clamps to 0.1 ...
    pen.ClearModified();
    pen.SetMaxRadius(0.01f); // ... and clamping again changes nothing
    pen.SetColor(0);
    pen.SetSizeByPressure(false);
    EXPECT_FALSE(pen.modified());
    pen.SetSmoothEdge(true);
    EXPECT_TRUE(pen.modified());
}

TEST(PenParameters, DerivedValues)
{
    TStroke pen;
    pen.ApplyDefaults(kPenPencil);
    pen.SetSpacing(1.5f);
    EXPECT_FLOAT_EQ(1.0f / 6, pen.EffectiveInterval()) << "the pencil's fixed interval";
    pen.ApplyDefaults(kPenAirbrush);
    pen.SetSpacing(0.3f);
    EXPECT_FLOAT_EQ(0.3f, pen.EffectiveInterval());

    pen.SetDensity(0.5f);
    EXPECT_FLOAT_EQ(0.5f, pen.EffectiveDensity(false));
    EXPECT_FLOAT_EQ(1.0f, pen.EffectiveDensity(true));
    EXPECT_EQ(127, pen.EffectiveDensityByte(false));
    EXPECT_EQ(255, pen.EffectiveDensityByte(true));

    pen.SetMaxRadius(20);
    pen.SetMinSize(50); // m = 10
    EXPECT_FLOAT_EQ(10, pen.RadiusForPressure(0));
    EXPECT_FLOAT_EQ(15, pen.RadiusForPressure(0.5f));
    pen.SetSizeByPressure(false);
    EXPECT_FLOAT_EQ(20, pen.RadiusForPressure(0));
    pen.ApplyDefaults(kPenBlur2);
    pen.SetSizeByPressure(true); // blur2 does not honour it
    EXPECT_FLOAT_EQ(pen.maxRadius(), pen.RadiusForPressure(0));
}

TEST(PenVariants, LoadingAnEmptyVariant)
{
    SettingsStore empty;
    TStroke reset, kept;
    kept.SetMaxRadius(77);
    LoadPenVariant(reset, empty, kPenWatercolour, 2, true);
    LoadPenVariant(kept, empty, kPenWatercolour, 2, false);
    TStroke defaults;
    defaults.ApplyDefaults(kPenWatercolour);
    EXPECT_FLOAT_EQ(defaults.maxRadius(), reset.maxRadius());
    EXPECT_FLOAT_EQ(defaults.effect(), reset.effect());
    EXPECT_FLOAT_EQ(77, kept.maxRadius()) << "without reset nothing changes";
}

TEST(PenVariants, SavedVariantsLoadBackThroughTheSetters)
{
    SettingsStore store;
    TStroke pen;
    pen.ApplyDefaults(kPenAirbrush);
    pen.SetMaxRadius(42);
    pen.SetSpacing(0.3f);
    pen.SetDensity(0.35f);
    pen.SetUseTone(true, false);
    pen.SetAirMap(4, false);
    SavePenVariant(pen, store, kPenAirbrush, 3);
    EXPECT_EQ(14u, store.Keys().at("penSetting\\airbrush3").size());
    EXPECT_DOUBLE_EQ(0.3f, *store.ReadDouble("penSetting\\airbrush3", "penSpacing")) << "the user's interval";
    EXPECT_DOUBLE_EQ(0.35f, *store.ReadDouble("penSetting\\airbrush3", "opaque")) << "the pen's own density";

    TStroke back;
    LoadPenVariant(back, store, kPenAirbrush, 3, true);
    EXPECT_FLOAT_EQ(42, back.maxRadius());
    EXPECT_FLOAT_EQ(0.3f, back.spacing());
    EXPECT_FLOAT_EQ(0.35f, back.density());
    EXPECT_TRUE(back.useTone());
    EXPECT_EQ(4, back.airMap());

    TStroke pencil;
    pencil.ApplyDefaults(kPenPencil);
    pencil.SetSpacing(1.2f);
    SavePenVariant(pencil, store, kPenPencil, 1);
    EXPECT_DOUBLE_EQ(1.0f / 6, *store.ReadDouble("penSetting\\pen1", "penSpacing"));

    // Values out of range in the file are clamped when they are read.
    store.WriteDouble("penSetting\\pen2", "WIDTH", 500);
    store.WriteDouble("penSetting\\pen2", "GAMMA", -1);
    LoadPenVariant(back, store, kPenPencil, 2, true);
    EXPECT_FLOAT_EQ(200, back.maxRadius());
    EXPECT_FLOAT_EQ(0.01f, back.gamma());
    EXPECT_EQ("", PenVariantKey(kPenPencil, 6));
    EXPECT_EQ("", PenVariantKey(9, 1));
}

TEST(PenVariants, ImportCopiesOnlyCompleteVariantsOfTheOlderKinds)
{
    SettingsStore older, store;
    TStroke pen;
    pen.ApplyDefaults(kPenWatercolour);
    SavePenVariant(pen, older, kPenWatercolour, 2);
    SavePenVariant(pen, older, kPenPencil, 5);
    older.RemoveValue("penSetting\\pen5", "ENV"); // incomplete
    pen.ApplyDefaults(kPenDarken);
    SavePenVariant(pen, older, kPenDarken, 1); // kinds above 5 did not exist before
    EXPECT_EQ(1, ImportOlderPenSettings(older, store));
    EXPECT_EQ(older.Keys().at("penSetting\\wc2"), store.Keys().at("penSetting\\wc2"));
    EXPECT_FALSE(store.HasKey("penSetting\\pen5"));
    EXPECT_FALSE(store.HasKey("penSetting\\darken1"));
}

TEST(PenSlots, StoredSlotsAreTakenOnlyWhenValidAsAWhole)
{
    auto stored = [](int current, std::initializer_list<int> kinds) {
        SettingsStore s;
        s.WriteInt("penSetting", "curSlot", current);
        int i = 0;
        for (int k : kinds)
            s.WriteInt("penSetting", "penSlot" + std::to_string(i++), k);
        return s;
    };
    struct Case {
        const char *what;
        SettingsStore store;
        bool taken;
    } cases[] = {
        {"valid", stored(2, {5, 6, 7, 8, 0}), true},
        {"a duplicate kind", stored(0, {0, 1, 2, 3, 0}), false},
        {"kind 4", stored(0, {0, 1, 2, 3, 4}), false},
        {"current slot 5", stored(5, {0, 1, 2, 3, 5}), false},
        {"kind 9", stored(0, {0, 1, 2, 3, 9}), false},
        {"a slot missing", stored(0, {0, 1, 2, 3}), false},
    };
    for (const Case &c : cases) {
        PenSlots slots;
        EXPECT_EQ(c.taken, slots.Restore(c.store)) << c.what;
        if (c.taken) {
            EXPECT_EQ(2, slots.currentSlot());
            EXPECT_EQ(7, slots.kindInSlot(2));
            SettingsStore saved;
            slots.Save(saved);
            EXPECT_EQ(c.store, saved);
        } else {
            EXPECT_EQ(0, slots.currentSlot()) << c.what;
            EXPECT_EQ(kPenAirbrush, slots.kindInSlot(4)) << c.what << ": the defaults stay";
        }
    }
}

TEST(PenSlots, ChoosingSlotsAndVariantsLoadsThePen)
{
    SettingsStore store;
    TStroke pen;
    pen.ApplyDefaults(kPenWatercolour);
    pen.SetMaxRadius(33);
    SavePenVariant(pen, store, kPenWatercolour, 3);

    PenSlots slots;
    TStroke current;
    slots.ChooseSlot(1, current, store, false);
    EXPECT_EQ(kPenWatercolour, current.kind());
    EXPECT_FLOAT_EQ(16, current.maxRadius()) << "variant 1 is not stored: the defaults";
    EXPECT_TRUE(slots.StepVariant(+1, current, store));
    EXPECT_TRUE(slots.StepVariant(+1, current, store));
    EXPECT_FLOAT_EQ(33, current.maxRadius());
    EXPECT_EQ(2, slots.currentVariant(kPenWatercolour));
    slots.ChooseVariant(4, current, store);
    EXPECT_FALSE(slots.StepVariant(+1, current, store)) << "bounded to 0..4";

    EXPECT_EQ(PenSlots::KeyAction::ChooseSlot, PenSlots::ActionForKey('d', false).action);
    EXPECT_EQ(2, PenSlots::ActionForKey('D', false).slot);
    EXPECT_EQ(PenSlots::KeyAction::NextVariant, PenSlots::ActionForKey('R', false).action);
    EXPECT_EQ(PenSlots::KeyAction::None, PenSlots::ActionForKey('A', true).action);
    EXPECT_EQ(PenSlots::KeyAction::None, PenSlots::ActionForKey('Q', false).action);
}

TEST(CColorMngr, ChangesReachThePenAndTheListener)
{
    TStroke pen;
    CColorMngr colours(pen);
    int notified = 0;
    colours.onChange = [&](CColorMngr::Which) { ++notified; };
    EXPECT_TRUE(colours.Set(CColorMngr::kColor, 0x123456));
    EXPECT_FALSE(colours.Set(CColorMngr::kColor, 0xFF123456)) << "the same in the low 24 bits";
    EXPECT_TRUE(colours.Set(CColorMngr::kColor, 0xFF123456, true));
    EXPECT_EQ(2, notified);
    colours.Exchange();
    EXPECT_EQ(0xFFFFFFu, pen.color());
    EXPECT_EQ(0xFF123456u, pen.subColor());
}

} // namespace
} // namespace pv
