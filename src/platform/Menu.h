#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/StaticText.h"
#include "platform/SymbolImages.h"

namespace lumora::platform {

// NSControlStateValue; mixed shows a dash, for a setting that is neither on nor off.
enum class ControlState { mixed = -1, off = 0, on = 1 };

struct MenuItem;

// A complete menu as a value: the platform builds native menus from it.
struct Menu {
  std::vector<MenuItem> items;

  friend bool operator==(const Menu& a, const Menu& b);
};

// One menu entry (NSMenuItem) or a separator. An entry with an action sends it to the
// application's delegate, with the entry as sender, when the user picks it.
struct MenuItem {
  bool isSeparator = false;
  std::string title;
  // The action's selector name, as "setNits:" or "toggleXDR"; none for an entry without action.
  std::optional<StaticText> action;
  // One character used with the Command modifier, or empty.
  std::string keyEquivalent;
  std::int64_t tag = 0;
  ControlState state = ControlState::off;
  // Empty: the platform's automatic enabling decides.
  std::optional<bool> enabled;
  std::optional<SymbolImage> image;
  std::shared_ptr<const Menu> submenu;

  static MenuItem separator() {
    MenuItem item;
    item.isSeparator = true;
    return item;
  }

  friend bool operator==(const MenuItem& a, const MenuItem& b);
};

inline bool operator==(const Menu& a, const Menu& b) {
  return a.items == b.items;
}

inline bool operator==(const MenuItem& a, const MenuItem& b) {
  const bool sameSubmenu = (a.submenu == nullptr || b.submenu == nullptr)
                               ? a.submenu == b.submenu
                               : *a.submenu == *b.submenu;
  return sameSubmenu && a.isSeparator == b.isSeparator && a.title == b.title &&
         a.action == b.action && a.keyEquivalent == b.keyEquivalent && a.tag == b.tag &&
         a.state == b.state && a.enabled == b.enabled && a.image == b.image;
}

}  // namespace lumora::platform
