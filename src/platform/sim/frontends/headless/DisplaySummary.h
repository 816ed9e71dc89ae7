#pragma once

#include <string>

#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// One line about the main display as the app sees it: the active preset, its SDR ceiling and
// the gamma table in force, as `display 69733382: preset 11 "Lumora XDR (1250 nits)", SDR 1250
// nits, gamma: calibrated`.
std::string describeMainDisplay(const SimDisplayState::Snapshot& snapshot);

}  // namespace lumora::sim
