#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/Menu.h"

namespace lumora::sim::terminal {

// Where an open menu and its submenus stand on the screen, in cells. A box has a border; its
// rows are the menu's entries in order.
struct MenuBox {
  const platform::Menu* menu = nullptr;
  int top = 0;
  int left = 0;
  int width = 0;
  int height = 0;
  // Widths of the columns inside the border: check mark, image, title, key equivalent, arrow.
  int imageWidth = 0;
  int titleWidth = 0;
  int keyWidth = 0;
  int arrowWidth = 0;
};

// The boxes of the open levels, outermost first. The outermost hangs below the menu bar with its
// right edge at `anchorRight`; each submenu opens beside its selected entry, to the left when
// there is room, as a menu at the right of the screen does.
std::vector<MenuBox> layoutMenus(const std::vector<const platform::Menu*>& levels,
                                 const std::vector<int>& selection, int anchorRight,
                                 int screenWidth, int screenHeight);

struct MenuHit {
  std::size_t level;
  int row;
};

// The entry under the cell, innermost box first; none outside every box or on a border.
std::optional<MenuHit> hitTest(const std::vector<MenuBox>& boxes, int y, int x);

}  // namespace lumora::sim::terminal
