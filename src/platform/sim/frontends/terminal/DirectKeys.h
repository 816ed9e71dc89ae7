#pragma once

#include <optional>
#include <string_view>

#include "platform/Menu.h"

namespace lumora::sim::terminal {

// The menu's action selectors that the direct keys look for, as the app's menu names them.
namespace directKeySelectors {
inline constexpr std::string_view setNits = "setNits:";
inline constexpr std::string_view setDeepBlacksLevel = "setDeepBlacksLevel:";
}  // namespace directKeySelectors

// The entry of the installed menu that a key pressed on the main screen stands for, so that the
// key does exactly what picking that entry does:
//   1 to 5      the five levels, the entries sending setNits: in the menu's order
//   x , q       the entries with those key equivalents (Enable or Disable XDR, Settings, Quit)
//   d           the Deep Blacks entry after the one checked, round to Off
// None for any other key, or when the menu has no such entry. A copy: picking replaces the menu.
std::optional<platform::MenuItem> directKeyEntry(const platform::Menu& menu, char key);

}  // namespace lumora::sim::terminal
