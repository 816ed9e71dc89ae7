#pragma once

#include <string>

#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// The display the app drives: the built-in one where there is one, otherwise the main display.
const SimDisplayState::DisplaySnapshot* drivenDisplay(const SimDisplayState::Snapshot& snapshot);

// One line about the display the app drives as it sees it: the active preset, its SDR ceiling,
// the gamma table in force and what the display gives now, as `display 69733382: preset 11
// "Lumora XDR (1250 nits)", SDR 1250 nits, slot 11 filled, gamma: calibrated, gives 1250 nits,
// headroom 1`.
std::string describeDrivenDisplay(const SimDisplayState::Snapshot& snapshot);

// A number as people read it: 2.5, 1250.
std::string formatNumber(double value);

}  // namespace lumora::sim
