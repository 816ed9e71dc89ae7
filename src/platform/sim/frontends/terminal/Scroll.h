#pragma once

#include "platform/sim/frontends/terminal/CursesScreen.h"

namespace lumora::sim::terminal {

// Lines of which only some may show in a box: the first one shown, kept in range, moved by the
// scrolling keys (Up, Down, Page Up, Page Down).
class Scroll {
 public:
  // `count` lines, `rows` of them shown.
  void fit(int count, int rows);
  void toTop() { first_ = 0; }
  // Shows `line` first, or as near the top as the lines allow.
  void toLine(int line);

  int first() const { return first_; }
  int rows() const { return rows_; }
  bool scrolls() const { return count_ > rows_; }

  // Moves for a scrolling key; false for any other key, or when everything shows.
  bool take(const Input& input);
  // ▲ and ▼ in column `x` of the first and the last row shown (from `top`) where there is more.
  void drawMarkers(CursesScreen& screen, int top, int x) const;

 private:
  int first_ = 0;
  int rows_ = 0;
  int count_ = 0;
};

}  // namespace lumora::sim::terminal
