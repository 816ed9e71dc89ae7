#include "platform/sim/frontends/terminal/DirectKeys.h"

#include <vector>

namespace lumora::sim::terminal {
namespace {

bool sends(const platform::MenuItem& item, std::string_view selector) {
  return item.action && item.action->view() == selector;
}

// Every entry, submenus included, in the menu's order.
template <typename Visit>
void forEachEntry(const platform::Menu& menu, const Visit& visit) {
  for (const platform::MenuItem& item : menu.items) {
    if (item.isSeparator) continue;
    visit(item);
    if (item.submenu) forEachEntry(*item.submenu, visit);
  }
}

std::optional<platform::MenuItem> level(const platform::Menu& menu, int number) {
  std::optional<platform::MenuItem> found;
  int seen = 0;
  forEachEntry(menu, [&](const platform::MenuItem& item) {
    if (sends(item, directKeySelectors::setNits) && ++seen == number) found = item;
  });
  return found;
}

std::optional<platform::MenuItem> withKeyEquivalent(const platform::Menu& menu, char key) {
  std::optional<platform::MenuItem> found;
  forEachEntry(menu, [&](const platform::MenuItem& item) {
    if (!found && item.keyEquivalent.size() == 1 && item.keyEquivalent[0] == key) found = item;
  });
  return found;
}

std::optional<platform::MenuItem> nextDeepBlacksLevel(const platform::Menu& menu) {
  std::vector<platform::MenuItem> levels;
  forEachEntry(menu, [&](const platform::MenuItem& item) {
    if (sends(item, directKeySelectors::setDeepBlacksLevel)) levels.push_back(item);
  });
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (levels[i].state == platform::ControlState::on) return levels[(i + 1) % levels.size()];
  }
  // None checked: the first level after Off.
  if (levels.size() > 1) return levels[1];
  return std::nullopt;
}

}  // namespace

std::optional<platform::MenuItem> directKeyEntry(const platform::Menu& menu, char key) {
  if (key >= '1' && key <= '5') return level(menu, key - '0');
  if (key == 'x' || key == ',' || key == 'q') return withKeyEquivalent(menu, key);
  if (key == 'd') return nextDeepBlacksLevel(menu);
  return std::nullopt;
}

}  // namespace lumora::sim::terminal
