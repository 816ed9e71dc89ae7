#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumora::sim::terminal {

// A line of the help screen, laid out for a width.
struct HelpLine {
  std::string text;
  bool heading = false;
};

// Every key the terminal front end answers to, by where it works, as lines at most `width`
// cells wide: keys and what they do side by side where there is room, one under the other where
// there is not.
std::vector<HelpLine> helpLines(int width);

// The footer's hints, "Enter: menu" and the like, joined with spaces: as many whole hints, in
// order, as fit in `width` cells.
std::string fitHints(const std::vector<std::string_view>& hints, int width);

}  // namespace lumora::sim::terminal
