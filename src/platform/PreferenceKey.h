#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/UserDefaults.h"

// A key of the user defaults store with the type of its value, so that a value is always read and
// written as that type. Values are read and written at the moment they are needed; nothing is
// cached. Each component declares the keys it owns.
namespace lumora::preferences {

template <typename Value>
struct Key {
  std::string_view name;
};

inline bool read(platform::UserDefaults& defaults, Key<bool> key) {
  return defaults.boolForKey(key.name);
}
inline std::int64_t read(platform::UserDefaults& defaults, Key<std::int64_t> key) {
  return defaults.integerForKey(key.name);
}
inline double read(platform::UserDefaults& defaults, Key<double> key) {
  return defaults.doubleForKey(key.name);
}
// The stored value, or `absent` when the key holds none.
inline bool readOr(platform::UserDefaults& defaults, Key<bool> key, bool absent) {
  return defaults.hasValueForKey(key.name) ? defaults.boolForKey(key.name) : absent;
}
inline double readOr(platform::UserDefaults& defaults, Key<double> key, double absent) {
  return defaults.hasValueForKey(key.name) ? defaults.doubleForKey(key.name) : absent;
}
// None when the key is absent or holds no string.
inline std::optional<std::string> read(platform::UserDefaults& defaults, Key<std::string> key) {
  return defaults.stringForKey(key.name);
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
