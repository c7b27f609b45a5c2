// The nine pen kinds as one table: names, whether the pen window offers the kind, its fixed
// dab interval, the parameters it offers and its defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pv {

enum PenKind : uint8_t {
    kPenPencil = 0,
    kPenWatercolour = 1,
    kPenBlur = 2,
    kPenEraser = 3,
    kPenBlur2 = 4, // reached only by playback of older recordings
    kPenAirbrush = 5,
    kPenFingerTip = 6,
    kPenDarken = 7,
    kPenLighten = 8,
};
constexpr int kPenKindCount = 9;

struct PenCapabilities {
    bool minSizeControl;
    bool sizeByPressure;          // sizeByPressure is honoured
    bool opacityByPressureToggle;
    bool smoothEdgeToggle;
    bool effectControl;           // the spacing control for kinds 5..8
    bool envControl;              // the exposure control for kinds 7 and 8
    bool speedControl;
    bool toneAvailable;
    bool gradationAvailable;
};

// Values a kind sets on top of the common defaults; nothing = keep the common default.
struct PenDefaults {
    std::optional<float> minSize = {}, maxRadius = {}, effect = {}, env = {}, speed = {}, spacing = {},
                         density = {};
    std::optional<bool> sizeByPressure = {}, opacityByPressure = {}, smoothEdge = {};
    std::optional<int> airMap = {}; // nothing = leave airMap as it is
};

struct PenKindInfo {
    std::string_view registryName; // used in setting key names ("wc" → penSetting\wc2)
    std::string_view displayName;
    bool selectable;               // offered by the pen window
    float fixedInterval;           // < 0: none, the pen's spacing is used
    bool drawsCoverage;            // dabs go into the work image's coverage channel
    PenCapabilities capabilities;
    PenDefaults defaults;
};

// The row of a kind; kind must be below kPenKindCount.
const PenKindInfo &PenKindOf(uint8_t kind);
bool IsValidPenKind(int kind);

} // namespace pv
