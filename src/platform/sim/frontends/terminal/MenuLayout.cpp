#include "platform/sim/frontends/terminal/MenuLayout.h"

#include <algorithm>

#include "platform/sim/SymbolGlyphs.h"
#include "platform/sim/frontends/terminal/SliderRow.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

constexpr int checkWidth = 2;  // "✓ "

// The box at its natural size, as if the screen had room for everything.
MenuBox measure(const platform::Menu& menu) {
  MenuBox box;
  box.menu = &menu;
  for (const platform::MenuItem& item : menu.items) {
    if (item.isSeparator) continue;
    if (item.slider) {
      // Its row is drawn in place of its title, and grows to the box's width.
      box.titleWidth = std::max(box.titleWidth, sliderRowWidth(*item.slider));
      continue;
    }
    box.titleWidth = std::max(box.titleWidth, displayWidth(item.title));
    if (item.image) {
      box.imageWidth =
          std::max(box.imageWidth, displayWidth(renderSymbolGlyphs(*item.image, false)) + 1);
    }
    if (!item.keyEquivalent.empty()) {
      box.keyWidth = std::max(box.keyWidth, displayWidth(terminalKeyLabel(item.keyEquivalent)) + 2);
    }
    if (item.submenu) box.arrowWidth = 2;
  }
  // A border and a space of padding on each side.
  box.area.width =
      2 + 1 + checkWidth + box.imageWidth + box.titleWidth + box.keyWidth + box.arrowWidth + 1;
  box.area.height = static_cast<int>(menu.items.size()) + 2;
  return box;
}

// Fits the box into `room`: narrower titles, fewer rows.
void fit(MenuBox& box, const Area& room) {
  const int excess = box.area.width - room.width;
  if (excess > 0) {
    box.titleWidth = std::max(1, box.titleWidth - excess);
    box.area.width -= excess;
  }
  box.area.height = std::min(box.area.height, room.height);
  box.visibleRows = std::max(0, box.area.height - 2);
}

// The first row shown: where it was, moved just enough to show the selection, and back at the top
// when nothing selectable lies above the selection (so the header is seen).
int scrolled(const MenuBox& box, int previous, int selected,
             const std::function<bool(const platform::MenuItem&)>& isEnabled) {
  const auto count = static_cast<int>(box.menu->items.size());
  const int lastFirst = std::max(0, count - box.visibleRows);
  int first = std::clamp(previous, 0, lastFirst);
  if (selected < 0 || selected >= count) return first;
  if (selected < first) first = selected;
  if (selected >= first + box.visibleRows) first = selected - box.visibleRows + 1;
  const auto rows = box.menu->items.begin();
  if (std::none_of(rows, rows + selected, isEnabled) && selected < box.visibleRows) first = 0;
  return std::clamp(first, 0, lastFirst);
}

}  // namespace

std::string terminalKeyLabel(std::string_view keyEquivalent) {
  // In the terminal q backs out of what is open, and Q quits.
  if (keyEquivalent == "q") return "Q";
  return std::string(keyEquivalent);
}

// The blank cell between a menu and the submenu beside it: two borders never touch.
constexpr int gap = 1;

std::vector<MenuBox> layoutMenus(const std::vector<const platform::Menu*>& levels,
                                 const std::vector<int>& selection,
                                 const std::vector<int>& firstRows, int anchorRight,
                                 const Area& room,
                                 const std::function<bool(const platform::MenuItem&)>& isEnabled) {
  std::vector<MenuBox> boxes;
  if (levels.empty() || room.width <= 0 || room.height <= 0) return boxes;
  for (std::size_t level = 0; level < levels.size(); ++level) {
    MenuBox box = measure(*levels[level]);
    const int natural = box.area.width;
    fit(box, room);
    const int selected = level < selection.size() ? selection[level] : -1;
    box.firstRow =
        scrolled(box, level < firstRows.size() ? firstRows[level] : 0, selected, isEnabled);
    if (level == 0) {
      // Room on the right for the widest submenu, when the screen has it.
      int reserve = 0;
      for (const platform::MenuItem& item : levels[0]->items) {
        if (item.submenu) reserve = std::max(reserve, gap + measure(*item.submenu).area.width);
      }
      if (natural + reserve > room.width) reserve = 0;
      const int right = std::min(anchorRight, room.right() - reserve);
      box.area.top = room.top;
      box.area.left = right - box.area.width;
    } else {
      const MenuBox& parent = boxes.back();
      const int parentRow = level - 1 < selection.size() ? std::max(selection[level - 1], 0) : 0;
      // Level with the entry that opened it: its first entry beside that entry, a cell away.
      box.area.top = parent.area.top + (parentRow - parent.firstRow);
      box.area.left = parent.area.right() + gap;
    }
    box.area.left = std::clamp(box.area.left, room.left, room.right() - box.area.width);
    box.area.top = std::clamp(box.area.top, room.top, room.bottom() - box.area.height);
    boxes.push_back(box);
  }
  return boxes;
}

std::optional<MenuHit> hitTest(const std::vector<MenuBox>& boxes, int y, int x) {
  for (std::size_t level = boxes.size(); level-- > 0;) {
    const MenuBox& box = boxes[level];
    if (!box.area.contains(y, x)) continue;
    const bool onSide = x == box.area.left || x == box.area.right() - 1;
    if (y == box.area.top) {
      if (box.moreAbove() && !onSide) return MenuHit{level, 0, MenuHit::Part::scrollUp};
      return std::nullopt;
    }
    if (y == box.area.bottom() - 1) {
      if (box.moreBelow() && !onSide) return MenuHit{level, 0, MenuHit::Part::scrollDown};
      return std::nullopt;
    }
    if (onSide) return std::nullopt;
    return MenuHit{level, box.firstRow + (y - box.area.top - 1), MenuHit::Part::entry};
  }
  return std::nullopt;
}

}  // namespace lumora::sim::terminal
