#include "platform/sim/frontends/terminal/MenuLayout.h"

#include <algorithm>

#include "platform/sim/MenuModel.h"
#include "platform/sim/SymbolGlyphs.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

constexpr int checkWidth = 2;  // "✓ "

MenuBox measure(const platform::Menu& menu) {
  MenuBox box;
  box.menu = &menu;
  for (const platform::MenuItem& item : menu.items) {
    if (item.isSeparator) continue;
    box.titleWidth = std::max(box.titleWidth, displayWidth(item.title));
    if (item.image) {
      box.imageWidth =
          std::max(box.imageWidth, displayWidth(renderSymbolGlyphs(*item.image, false)) + 1);
    }
    if (!item.keyEquivalent.empty()) {
      box.keyWidth =
          std::max(box.keyWidth, displayWidth(menus::keyEquivalentLabel(item.keyEquivalent)) + 2);
    }
    if (item.submenu) box.arrowWidth = 2;
  }
  // A border and a space of padding on each side.
  box.width =
      2 + 1 + checkWidth + box.imageWidth + box.titleWidth + box.keyWidth + box.arrowWidth + 1;
  box.height = static_cast<int>(menu.items.size()) + 2;
  return box;
}

}  // namespace

std::vector<MenuBox> layoutMenus(const std::vector<const platform::Menu*>& levels,
                                 const std::vector<int>& selection, int anchorRight,
                                 int screenWidth, int screenHeight) {
  std::vector<MenuBox> boxes;
  for (std::size_t level = 0; level < levels.size(); ++level) {
    MenuBox box = measure(*levels[level]);
    if (level == 0) {
      box.top = 1;
      box.left = anchorRight - box.width;
    } else {
      const MenuBox& parent = boxes.back();
      const int parentRow = level - 1 < selection.size() ? std::max(selection[level - 1], 0) : 0;
      box.top = parent.top + parentRow;
      box.left = parent.left - box.width + 1;
      if (box.left < 0) box.left = parent.left + parent.width - 1;
    }
    box.left = std::clamp(box.left, 0, std::max(0, screenWidth - box.width));
    box.top = std::clamp(box.top, 1, std::max(1, screenHeight - box.height));
    boxes.push_back(box);
  }
  return boxes;
}

std::optional<MenuHit> hitTest(const std::vector<MenuBox>& boxes, int y, int x) {
  for (std::size_t level = boxes.size(); level-- > 0;) {
    const MenuBox& box = boxes[level];
    if (x <= box.left || x >= box.left + box.width - 1) continue;
    if (y <= box.top || y >= box.top + box.height - 1) continue;
    return MenuHit{level, y - box.top - 1};
  }
  return std::nullopt;
}

}  // namespace lumora::sim::terminal
