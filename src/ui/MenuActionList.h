#pragma once

#include "platform/StaticText.h"

// Every action a menu entry can send, listed once: the selector names the menu's entries carry
// and the methods of MenuActions that answer them both come from this list.
//
//   LUMORA_MENU_ACTION(method, selector)
#define LUMORA_MENU_ACTIONS(LUMORA_MENU_ACTION)                          \
  LUMORA_MENU_ACTION(setNits, "setNits:")                                \
  LUMORA_MENU_ACTION(slideNits, "slideNits:")                            \
  LUMORA_MENU_ACTION(toggleXDR, "toggleXDR")                             \
  LUMORA_MENU_ACTION(toggleAutoEnable, "toggleAutoEnable")               \
  LUMORA_MENU_ACTION(toggleLaunchAtLogin, "toggleLaunchAtLogin")         \
  LUMORA_MENU_ACTION(toggleSimpleIcon, "toggleSimpleIcon")               \
  LUMORA_MENU_ACTION(toggleShortcuts, "toggleShortcuts")                 \
  LUMORA_MENU_ACTION(setDeepBlacksLevel, "setDeepBlacksLevel:")          \
  LUMORA_MENU_ACTION(togglePauseOnBattery, "togglePauseOnBattery")       \
  LUMORA_MENU_ACTION(togglePauseOnLowBattery, "togglePauseOnLowBattery") \
  LUMORA_MENU_ACTION(togglePauseWhenHot, "togglePauseWhenHot")           \
  LUMORA_MENU_ACTION(resetAllTweaks, "resetAllTweaks")                   \
  LUMORA_MENU_ACTION(checkForUpdates, "checkForUpdates")                 \
  LUMORA_MENU_ACTION(openSettings, "openSettings")                       \
  LUMORA_MENU_ACTION(copyDiagnostics, "copyDiagnostics")                 \
  LUMORA_MENU_ACTION(quit, "quit")

namespace lumora::ui::selectors {

#define LUMORA_SELECTOR_CONSTANT(method, selector) \
  inline constexpr platform::StaticText method = selector;
LUMORA_MENU_ACTIONS(LUMORA_SELECTOR_CONSTANT)
#undef LUMORA_SELECTOR_CONSTANT

}  // namespace lumora::ui::selectors
