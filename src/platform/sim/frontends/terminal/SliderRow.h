#pragma once

#include <string>

#include "platform/Menu.h"

namespace lumora::sim::terminal {

// The narrowest row of a menu's slider that still shows a track worth moving along, and the label.
int sliderRowWidth(const platform::MenuSlider& slider);

// A menu's slider as a row of exactly `width` cells: its track, then its value's label. The track
// is drawn ━ up to the knob ●, ─ after it, with a stop marked ┿ or ┼ in its cell. Where that is too
// narrow for a track, the label alone, cut to fit.
std::string sliderRow(const platform::MenuSlider& slider, int width);

// The cell of a track `cells` wide that holds `value`.
int trackCell(const platform::MenuSlider& slider, double value, int cells);

}  // namespace lumora::sim::terminal
