#pragma once

#include <string>
#include <vector>

#include "platform/sim/frontends/terminal/CursesScreen.h"
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

// Draws the panel's lines from row 2 down to `room`'s last row, and the transfer curve beside them
// where there is room for it; only whole words that keep a cell clear of the boxes in `covers`.
void drawDisplayPanel(CursesScreen& screen, const std::vector<PanelLine>& lines,
                      const SimDisplayState::Snapshot& snapshot, const Area& room,
                      const std::vector<Area>& covers);

// A small plot of a transfer table: `rows` lines of `columns` cells, the curve as "•" over the
// identity line "·", output rising to the top.
std::vector<std::string> transferCurve(const std::vector<float>& table, int columns, int rows);

}  // namespace lumora::sim::terminal
