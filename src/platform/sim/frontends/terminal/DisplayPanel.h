#pragma once

#include <string>
#include <vector>

#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim::terminal {

// A line of the panel: a label column and its value.
struct PanelLine {
  std::string label;
  std::string value;
  bool highlight = false;  // the value shows an active tweak
};

// The simulated display as the app sees it: main display and screen, each display's active
// preset, its SDR ceiling, slot 11 and the gamma table in force, and the Dock.
std::vector<PanelLine> displayPanelLines(const SimDisplayState::Snapshot& snapshot,
                                         bool showsInDock);

// A small plot of a transfer table: `rows` lines of `columns` cells, the curve as "•" over the
// identity line "·", output rising to the top.
std::vector<std::string> transferCurve(const std::vector<float>& table, int columns, int rows);

}  // namespace lumora::sim::terminal
