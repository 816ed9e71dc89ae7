#include "platform/sim/frontends/terminal/Scroll.h"

#include <algorithm>

#include "platform/sim/frontends/terminal/Keys.h"

namespace lumora::sim::terminal {

void Scroll::toLine(int line) {
  first_ = std::clamp(line, 0, std::max(0, count_ - rows_));
}

void Scroll::fit(int count, int rows) {
  count_ = std::max(0, count);
  rows_ = std::clamp(rows, 0, count_);
  first_ = std::clamp(first_, 0, count_ - rows_);
}

bool Scroll::take(const Input& input) {
  const int page = std::max(1, rows_ - 1);
  int step = 0;
  if (keys::isKey(input, KEY_UP)) step = -1;
  if (keys::isKey(input, KEY_DOWN)) step = 1;
  if (keys::isKey(input, KEY_PPAGE)) step = -page;
  if (keys::isKey(input, KEY_NPAGE)) step = page;
  if (step == 0 || !scrolls()) return false;
  first_ = std::clamp(first_ + step, 0, count_ - rows_);
  return true;
}

void Scroll::drawMarkers(CursesScreen& screen, int top, int x) const {
  if (first_ > 0) screen.put(top, x, "\u25B2", Look().withBold());
  if (first_ + rows_ < count_) screen.put(top + rows_ - 1, x, "\u25BC", Look().withBold());
}

}  // namespace lumora::sim::terminal
