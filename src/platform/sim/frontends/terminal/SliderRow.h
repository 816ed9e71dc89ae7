#pragma once

#include <string>

#include "platform/Menu.h"

namespace lumora::sim::terminal {

// A menu's slider as one row of cells: its track, then its value's label. The track is drawn ━ up
// to the knob ●, ─ after it, with a stop marked ┿ or ┼ in its cell.
//
// The narrowest row that still shows a track worth moving along, and the label.
int sliderRowWidth(const platform::MenuSlider& slider);

// The row in exactly `width` cells; where that is too narrow for a track, the label alone, cut to
// fit.
std::string sliderRow(const platform::MenuSlider& slider, int width);

// The cell of a track `cells` wide that holds `value`.
int trackCell(const platform::MenuSlider& slider, double value, int cells);

}  // namespace lumora::sim::terminal
