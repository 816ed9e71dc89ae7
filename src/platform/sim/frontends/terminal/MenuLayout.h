#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Menu.h"
#include "platform/sim/frontends/terminal/CursesScreen.h"

namespace lumora::sim::terminal {

// Where an open menu or submenu stands on the screen, in cells. A box has a border; inside it a
// window of `visibleRows` entries from `firstRow` on, scrolled to keep the selection in view.
struct MenuBox {
  const platform::Menu* menu = nullptr;
  Area area;
  // Widths of the columns inside the border: image, title, key, arrow.
  int imageWidth = 0;
  int titleWidth = 0;
  int keyWidth = 0;
  int arrowWidth = 0;
  int firstRow = 0;
  int visibleRows = 0;

  bool moreAbove() const { return firstRow > 0; }
  bool moreBelow() const { return firstRow + visibleRows < static_cast<int>(menu->items.size()); }
};

// The key that picks an entry in the terminal, as the menu shows it: its key equivalent itself
// ("x", ","), since the terminal has no Command key; Quit's is Q, as q backs out of the menu.
std::string terminalKeyLabel(std::string_view keyEquivalent);

// The boxes of the open levels, outermost first, inside `room` (the screen between the menu bar
// and the footer). The outermost hangs below the menu bar with its right edge at `anchorRight`,
// moved left when that leaves its submenus room on the right, where they open beside their entry,
// a cell away from it (over their parent only when the screen is too narrow). A box too wide for
// the room is narrowed, its titles cut; one too tall scrolls. `firstRows` are the levels' scroll
// positions from the previous layout; `isEnabled` tells which entries can be selected.
std::vector<MenuBox> layoutMenus(const std::vector<const platform::Menu*>& levels,
                                 const std::vector<int>& selection,
                                 const std::vector<int>& firstRows, int anchorRight,
                                 const Area& room,
                                 const std::function<bool(const platform::MenuItem&)>& isEnabled);

struct MenuHit {
  enum class Part { entry, scrollUp, scrollDown };
  std::size_t level;
  int row = 0;  // Part::entry: the entry's index in its menu
  Part part = Part::entry;
};

// What is under the cell, innermost box first: an entry, or the top or bottom border of a box
// that scrolls that way; none outside every box or on a plain border.
std::optional<MenuHit> hitTest(const std::vector<MenuBox>& boxes, int y, int x);

}  // namespace lumora::sim::terminal
