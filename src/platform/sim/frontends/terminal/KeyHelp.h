#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumora::sim::terminal {

// The keys that work somewhere, and what they do there.
struct KeyLine {
  std::string_view keys;
  std::string_view does;
};

// Where keys work ("In the menu"), and the keys.
struct KeySection {
  std::string_view title;
  std::vector<KeyLine> lines;
};

// Every key the terminal front end answers to, by where it works. The README's table of keys
// holds the same rows, word for word.
const std::vector<KeySection>& keySections();

// A line of the help screen, laid out for a width.
struct HelpLine {
  std::string text;
  bool heading = false;
};

// The key sections as lines at most `width` cells wide: keys and what they do side by side where
// there is room, one under the other where there is not.
std::vector<HelpLine> helpLines(int width);

// The footer's hints, "Enter: menu" and the like, joined with spaces: as many whole hints, in
// order, as fit in `width` cells.
std::string fitHints(const std::vector<std::string_view>& hints, int width);

}  // namespace lumora::sim::terminal
