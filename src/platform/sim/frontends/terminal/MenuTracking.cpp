#include "platform/sim/frontends/terminal/MenuTracking.h"

#include <cctype>

namespace lumora::sim::terminal {

void MenuTracking::open(const platform::Menu& menu, bool selectFirst) {
  open_ = true;
  selection_ = {selectFirst ? firstEnabled(menu) : -1};
}

void MenuTracking::close() {
  open_ = false;
  selection_.clear();
}

int MenuTracking::firstEnabled(const platform::Menu& menu) const {
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    if (isEnabled_(menu.items[i])) return static_cast<int>(i);
  }
  return -1;
}

std::vector<const platform::Menu*> MenuTracking::levels(const platform::Menu& menu) const {
  std::vector<const platform::Menu*> menus;
  if (!open_) return menus;
  menus.push_back(&menu);
  for (std::size_t level = 0; level + 1 < selection_.size(); ++level) {
    const platform::MenuItem* item = selectedItem(*menus.back(), level);
    if (item == nullptr || item->submenu == nullptr) break;
    menus.push_back(item->submenu.get());
  }
  return menus;
}

const platform::MenuItem* MenuTracking::selectedEntry(const platform::Menu& menu) const {
  const std::vector<const platform::Menu*> menus = levels(menu);
  if (menus.empty()) return nullptr;
  return selectedItem(*menus.back(), menus.size() - 1);
}

const platform::MenuItem* MenuTracking::selectedItem(const platform::Menu& menu,
                                                     std::size_t level) const {
  if (level >= selection_.size()) return nullptr;
  const int row = selection_[level];
  if (row < 0 || static_cast<std::size_t>(row) >= menu.items.size()) return nullptr;
  return &menu.items[static_cast<std::size_t>(row)];
}

void MenuTracking::move(const platform::Menu& menu, int step) {
  if (!open_) return;
  const std::vector<const platform::Menu*> menus = levels(menu);
  selection_.resize(menus.size());
  const platform::Menu& innermost = *menus.back();
  const auto count = static_cast<int>(innermost.items.size());
  if (count == 0) return;
  int row = selection_.back();
  // From nothing selected, down starts at the top and up at the bottom.
  if (row < 0) row = step > 0 ? -1 : count;
  for (int tries = 0; tries < count; ++tries) {
    row = ((row + step) % count + count) % count;
    if (isEnabled_(innermost.items[static_cast<std::size_t>(row)])) {
      selection_.back() = row;
      return;
    }
  }
}

const platform::Menu* MenuTracking::innermost(const platform::Menu& menu) {
  if (!open_) return nullptr;
  const std::vector<const platform::Menu*> menus = levels(menu);
  selection_.resize(menus.size());
  return menus.back();
}

void MenuTracking::moveToFirst(const platform::Menu& menu) {
  if (const platform::Menu* inner = innermost(menu)) selection_.back() = firstEnabled(*inner);
}

void MenuTracking::moveToLast(const platform::Menu& menu) {
  const platform::Menu* inner = innermost(menu);
  if (inner == nullptr) return;
  for (std::size_t i = inner->items.size(); i-- > 0;) {
    if (isEnabled_(inner->items[i])) {
      selection_.back() = static_cast<int>(i);
      return;
    }
  }
}

void MenuTracking::jumpToInitial(const platform::Menu& menu, char typed) {
  const platform::Menu* inner = innermost(menu);
  if (inner == nullptr || inner->items.empty()) return;
  const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
  // The first letter or digit of a title, past a leading symbol.
  const auto initial = [&](const std::string& title) -> int {
    for (const char c : title) {
      if (std::isalnum(static_cast<unsigned char>(c)) != 0) return lower(c);
    }
    return -1;
  };
  const auto count = static_cast<int>(inner->items.size());
  const int from = selection_.back();
  for (int step = 1; step <= count; ++step) {
    const int row = ((from < 0 ? -1 : from) + step + count) % count;
    const platform::MenuItem& item = inner->items[static_cast<std::size_t>(row)];
    if (isEnabled_(item) && initial(item.title) == lower(typed)) {
      selection_.back() = row;
      return;
    }
  }
}

void MenuTracking::keepLevels(std::size_t count) {
  if (selection_.size() > count && count > 0) selection_.resize(count);
}

void MenuTracking::moveDown(const platform::Menu& menu) {
  move(menu, 1);
}

void MenuTracking::moveUp(const platform::Menu& menu) {
  move(menu, -1);
}

void MenuTracking::enterSubmenu(const platform::Menu& menu) {
  const std::vector<const platform::Menu*> menus = levels(menu);
  if (menus.empty()) return;
  selection_.resize(menus.size());
  const platform::MenuItem* item = selectedItem(*menus.back(), menus.size() - 1);
  if (item == nullptr || item->submenu == nullptr || !isEnabled_(*item)) return;
  selection_.push_back(firstEnabled(*item->submenu));
}

void MenuTracking::leaveSubmenu() {
  if (selection_.size() > 1) selection_.pop_back();
}

MenuTracking::Outcome MenuTracking::activate(const platform::Menu& menu) {
  const std::vector<const platform::Menu*> menus = levels(menu);
  if (menus.empty()) return {};
  selection_.resize(menus.size());
  const platform::MenuItem* item = selectedItem(*menus.back(), menus.size() - 1);
  if (item == nullptr || !isEnabled_(*item)) return {};
  if (item->submenu != nullptr) {
    enterSubmenu(menu);
    return {};
  }
  if (item->slider) {
    close();
    return Outcome{Outcome::Kind::close, std::nullopt};
  }
  Outcome outcome{Outcome::Kind::pick, *item};
  close();
  return outcome;
}

MenuTracking::Outcome MenuTracking::keyEquivalent(const platform::Menu& menu, char typed) {
  const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
  std::vector<const platform::Menu*> pending{&menu};
  while (!pending.empty()) {
    const platform::Menu* current = pending.back();
    pending.pop_back();
    for (const platform::MenuItem& item : current->items) {
      if (item.submenu) pending.push_back(item.submenu.get());
      if (item.keyEquivalent.size() == 1 && lower(item.keyEquivalent[0]) == lower(typed) &&
          isEnabled_(item)) {
        Outcome outcome{Outcome::Kind::pick, item};
        close();
        return outcome;
      }
    }
  }
  return {};
}

MenuTracking::Outcome MenuTracking::point(const platform::Menu& menu, std::size_t level, int row,
                                          bool click) {
  const std::vector<const platform::Menu*> menus = levels(menu);
  if (level >= menus.size()) return {};
  const platform::Menu& pointed = *menus[level];
  if (row < 0 || static_cast<std::size_t>(row) >= pointed.items.size()) return {};
  selection_.resize(level + 1);
  const platform::MenuItem& item = pointed.items[static_cast<std::size_t>(row)];
  selection_[level] = isEnabled_(item) ? row : -1;
  if (selection_[level] < 0) return {};
  if (item.submenu != nullptr) {
    selection_.push_back(-1);  // hovering an entry with a submenu opens it
    return {};
  }
  if (!click || item.slider) return {};
  Outcome outcome{Outcome::Kind::pick, item};
  close();
  return outcome;
}

}  // namespace lumora::sim::terminal
