#pragma once

#include <string>

#include "platform/Menu.h"

namespace lumora::ui {

// The menu's brightness slider goes from the SDR ceiling to the XDR maximum, with a stop at each
// of the five levels. A value this close to a stop lands on it, so that a drag does not overshoot
// a level by a few nits.
inline constexpr double sliderStopReach = 25.0;

// The level a dragged or released slider value applies: within the slider's range, and on the
// stop it is within reach of. NaN is the SDR ceiling.
double sliderLevel(double value);

// What the slider's entry is called for accessibility: "Brightness: 1100 nits", and at the SDR
// ceiling "Brightness: 500 nits (SDR)".
std::string sliderTitle(double liveNits);

// The slider's entry, showing the live level.
platform::MenuItem brightnessSliderEntry(double liveNits);

}  // namespace lumora::ui
