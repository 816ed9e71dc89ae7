#pragma once

#include <concepts>
#include <cstdint>
#include <string_view>

#include "platform/UserDefaults.h"

// Every key the application keeps in the user defaults store, with its value type. Values are
// read and written at the moment they are needed; nothing is cached.
namespace lumora::preferences {

template <typename Value>
struct Key {
  std::string_view name;
};

// At launch, put the remembered XDR level back on the display.
inline constexpr Key<bool> autoEnableXDR{"autoEnableXDR"};
// The user's launch-at-login choice.
inline constexpr Key<bool> launchAtLogin{"launchAtLogin"};
// The last XDR level above the SDR ceiling that the user applied; 0.0 means none.
inline constexpr Key<double> lastNitsValue{"lastNitsValue"};
// Show the status item as a single character instead of a symbol.
inline constexpr Key<bool> simpleIcon{"simpleIcon"};
// Deep Blacks was on when it was last set.
inline constexpr Key<bool> deepBlacksEnabled{"deepBlacksEnabled"};
// Raw value of the last Deep Blacks level switched on (1 to 3).
inline constexpr Key<std::int64_t> deepBlacksLevel{"deepBlacksLevel"};
// The user has dismissed the Deep Blacks warning once.
inline constexpr Key<bool> deepBlacksWarningShown{"deepBlacksWarningShown"};

inline bool read(platform::UserDefaults& defaults, Key<bool> key) {
  return defaults.boolForKey(key.name);
}
inline std::int64_t read(platform::UserDefaults& defaults, Key<std::int64_t> key) {
  return defaults.integerForKey(key.name);
}
inline double read(platform::UserDefaults& defaults, Key<double> key) {
  return defaults.doubleForKey(key.name);
}

// The value must have the key's exact type, so that nothing is stored under a wrong type.
template <typename Value>
void write(platform::UserDefaults& defaults, Key<bool> key,
           Value value) requires std::same_as<Value, bool> {
  defaults.setBool(key.name, value);
}
template <typename Value>
void write(platform::UserDefaults& defaults, Key<std::int64_t> key,
           Value value) requires std::same_as<Value, std::int64_t> {
  defaults.setInteger(key.name, value);
}
template <typename Value>
void write(platform::UserDefaults& defaults, Key<double> key,
           Value value) requires std::same_as<Value, double> {
  defaults.setDouble(key.name, value);
}

}  // namespace lumora::preferences
