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

// A slider that an entry shows instead of its title (an NSSlider in the entry's view, with a
// label beside it). Moving it sends the entry's action with the value, continuously while it is
// dragged.
struct MenuSlider {
  double minimum = 0.0;
  double maximum = 0.0;
  double value = 0.0;
  // The values it stops at, each with a tick mark, in increasing order.
  std::vector<double> stops;
  // The value as the label beside the slider tells it, as "1100 nits".
  std::string valueLabel;

  friend bool operator==(const MenuSlider& a, const MenuSlider& b) = default;
};

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
  // An entry drawn as a slider; its title then names it for accessibility.
  std::optional<MenuSlider> slider;

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
         a.state == b.state && a.enabled == b.enabled && a.image == b.image && a.slider == b.slider;
}

}  // namespace lumora::platform
