#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Windows.h"
#include "platform/sim/frontends/terminal/CursesScreen.h"

namespace lumora::sim::terminal {

// Cells of the simulated screen's points: the settings window's 420 x 280 points come out at
// 60 x 17 cells.
inline constexpr double pointsPerColumn = 7.0;
inline constexpr double pointsPerRow = 16.0;

// A line of a window's content, in cells from the content's top left.
struct ContentLine {
  int row = 0;
  int x = 0;
  int width = 0;  // the cells it may take
  bool separator = false;
  std::string text;
  Look look;
  // A button's line, "[ Copy Diagnostics ]": the button.
  std::optional<platform::View> button;
};

// The views of a window's content in a space `columns` cells wide: each where its frame puts it,
// a label wrapped to its width, a button on one line in brackets. Where that is more than `rows`
// rows, empty rows go first, from the top down, so that every view shows when it can; what is left
// below the last row is scrolled to.
std::vector<ContentLine> layOutContent(const platform::View& content, double contentHeight,
                                       int columns, int rows);

// The rows the lines take, from the top.
int contentRows(const std::vector<ContentLine>& lines);

}  // namespace lumora::sim::terminal
