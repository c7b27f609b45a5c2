// The pen window's value controls without the window: what a click, a held button and a
// drag over a bar do to the pen, and the texts with which the window reports values and
// explains its controls. The Qt window only forwards input here and shows the texts.
#pragma once

#include "tools/TStroke.h"

#include <string>

namespace pv {

enum class PenControl {
    MinSize,
    MaxRadius,
    Density,
    Gamma,
    Effect, // the spacing control for kinds 5..8
    Env,    // the exposure (`effect`) control for kinds 7 and 8
    Speed,
};

enum class PenToggle { Tone, Gradation, PressureSize, PressureOpacity, SmoothEdge };

// Held step buttons repeat every 250 ms once 500 ms have passed since the press.
constexpr int kStepRepeatMs = 250;
constexpr int kStepRepeatDelayMs = 500;

// A click (held = false) or a repeat tick (held = true) of a step button; direction ±1.
void StepPenControl(TStroke &pen, PenControl control, int direction, bool held);
// A drag over the control's bar, px pixels from its start.
void DragPenControl(TStroke &pen, PenControl control, int px);
// Where the radius bar shows a radius (the inverse of the drag mapping).
int RadiusBarOffset(float radius);
// The density as the window shows it, and setting it from a percentage.
int DensityPercent(const TStroke &pen);
void SetDensityPercent(TStroke &pen, int percent);

// "ペンウインドウ" and two blanks: the window's caption, before every report.
extern const char kPenWindowCaption[];
std::string PenWindowTitle(const TStroke &pen);
std::string PenReportText(const TStroke &pen, PenControl control);
std::string PenReportText(const TStroke &pen, PenToggle toggle, bool on);
// The hint of a control: a short text, then after "|" a longer one where there is one.
std::string PenHintText(const TStroke &pen, PenControl control);
std::string PenHintText(PenToggle toggle);
std::string PenPreviewHint(const TStroke &pen);
extern const char kPenSaveHint[];
// The title after the save button stored the current variant.
std::string PenSavedTitle();

// The opacity of the highlight that fades out after a slot was chosen.
int SlotHighlightOpacity(int elapsedMs);

} // namespace pv
