#include "platform/sim/frontends/terminal/Overlay.h"

#include <algorithm>

namespace lumora::sim::terminal {

void clearAround(CursesScreen& screen, const Area& box, const Area& room) {
  const int top = std::max(room.top, box.top - 1);
  const int bottom = std::min(room.bottom(), box.bottom() + 1);
  const int left = std::max(room.left, box.left - 1);
  const int right = std::min(room.right(), box.right() + 1);
  for (int y = top; y < bottom; ++y)
    screen.repeat(y, left, " ", right - left);
}

}  // namespace lumora::sim::terminal
