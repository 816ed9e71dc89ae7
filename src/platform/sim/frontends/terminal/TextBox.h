#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/sim/frontends/terminal/CursesScreen.h"
#include "platform/sim/frontends/terminal/Scroll.h"

namespace lumora::sim::terminal {

// A framed box of lines with a title, in the middle of its room, its lines scrolled where they do
// not fit: the help and the message list.
class TextBox {
 public:
  // The box's width in `room` for lines of up to `widest` cells: a cell of the room left free on
  // either side.
  static int widthIn(const Area& room, int widest) { return std::min(room.width - 2, widest + 4); }
  static int textWidth(int width) { return width - 4; }

  // `count` lines in a box `width` cells wide.
  void layOut(const Area& room, int width, int count);
  const Area& area() const { return area_; }
  Scroll& scrolling() { return scroll_; }
  const Scroll& scrolling() const { return scroll_; }

  // The frame and the title, then `drawLine(index, y, x)` for each line that shows, clipped to
  // the inside.
  void draw(CursesScreen& screen, std::string_view title,
            const std::function<void(std::size_t index, int y, int x)>& drawLine) const;

 private:
  Area room_;
  Area area_;
  Scroll scroll_;
};

}  // namespace lumora::sim::terminal
