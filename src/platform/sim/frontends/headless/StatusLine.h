#pragma once

#include <string>

#include "platform/sim/SimApplication.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// The headless status line: the status item as the app set it, the main display, and the Dock,
// as `status: ☀ sun.max.fill {cyanColor} | display 69733382: preset 11 …, gamma: calibrated |
// Dock icon: hidden`. What it tells is added here, and nowhere else.
std::string statusLine(const SimStatusBar& statusBar, const SimApplication& application,
                       const SimDisplayState::Snapshot& displays, bool withColor);

}  // namespace lumora::sim
