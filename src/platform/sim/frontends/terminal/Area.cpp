#include "platform/sim/frontends/terminal/Area.h"

#include <algorithm>

#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {

std::string uncoveredText(const std::vector<Area>& covers, int y, int x, std::string_view text,
                          int screenWidth) {
  int limit = screenWidth;
  for (const Area& cover : covers) {
    if (y < cover.top || y >= cover.bottom()) continue;
    // The cells of the box and one on either side of it.
    if (x >= cover.left - 1 && x <= cover.right()) return "";
    if (x < cover.left) limit = std::min(limit, cover.left - 1);
  }
  return wholeWordsWithin(text, limit - x);
}

}  // namespace lumora::sim::terminal
