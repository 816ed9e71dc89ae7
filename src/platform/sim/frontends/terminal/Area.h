#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumora::sim::terminal {

// A rectangle of cells.
struct Area {
  int top = 0;
  int left = 0;
  int height = 0;
  int width = 0;

  int bottom() const { return top + height; }  // one past the last row
  int right() const { return left + width; }   // one past the last column
  bool contains(int y, int x) const { return y >= top && y < bottom() && x >= left && x < right(); }
};

// What shows of a line of text at (y, x) that boxes drawn over it (`covers`) and the screen's
// right edge (`screenWidth`) may hide: its whole words that end before the first box on that row,
// with a blank cell between them and its border; nothing when the text starts at or inside a box.
// Words are never cut, and no letter touches a border.
std::string uncoveredText(const std::vector<Area>& covers, int y, int x, std::string_view text,
                          int screenWidth);

}  // namespace lumora::sim::terminal
