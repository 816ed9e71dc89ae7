#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "display/DeepBlacksController.h"
#include "display/XDRController.h"
#include "display/XDRPause.h"
#include "ui/KeyboardShortcuts.h"
#include "ui/MenuActions.h"

// Every key the application keeps in the user defaults store. Each is declared by the component
// that owns it; this is the list of them all.
namespace lumora::preferences {

// A stored key by name, with the type of its value.
enum class ValueType { boolean, integer, real, text };
struct StoredKey {
  std::string_view name;
  ValueType type;
};
constexpr StoredKey stored(Key<bool> key) {
  return {key.name, ValueType::boolean};
}
constexpr StoredKey stored(Key<std::int64_t> key) {
  return {key.name, ValueType::integer};
}
constexpr StoredKey stored(Key<double> key) {
  return {key.name, ValueType::real};
}
constexpr StoredKey stored(Key<std::string> key) {
  return {key.name, ValueType::text};
}

inline constexpr std::array<StoredKey, 16> allKeys{
    stored(ui::MenuActions::autoEnableKey),
    stored(ui::MenuActions::launchAtLoginKey),
    stored(ui::MenuActions::lastNitsKey),
    stored(ui::MenuActions::simpleIconKey),
    stored(DeepBlacksController::deepBlacksEnabledKey),
    stored(DeepBlacksController::deepBlacksLevelKey),
    stored(DeepBlacksController::deepBlacksWarningShownKey),
    stored(XDRController::brightnessMethodKey),
    stored(XDRPause::pauseOnBatteryKey),
    stored(XDRPause::pauseOnLowBatteryKey),
    stored(XDRPause::pauseWhenHotKey),
    stored(ui::KeyboardShortcuts::enabledKey),
    stored(ui::KeyboardShortcuts::shortcuts[0].key),
    stored(ui::KeyboardShortcuts::shortcuts[1].key),
    stored(ui::KeyboardShortcuts::shortcuts[2].key),
    stored(ui::KeyboardShortcuts::shortcuts[3].key),
};

}  // namespace lumora::preferences
