#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumora::platform {

// The application's per-user defaults store (NSUserDefaults.standardUserDefaults). A key never
// written reads as false, 0 or 0.0; a value written is returned by the next read, in this
// process and in later runs.
class UserDefaults {
 public:
  virtual ~UserDefaults() = default;

  virtual bool boolForKey(std::string_view key) = 0;
  virtual std::int64_t integerForKey(std::string_view key) = 0;
  virtual double doubleForKey(std::string_view key) = 0;
  // objectForKey: is not nil: whether the key holds a value at all, for keys whose absence means
  // something other than false or 0.
  virtual bool hasValueForKey(std::string_view key) = 0;
  // stringForKey: none when the key is absent or holds no string.
  virtual std::optional<std::string> stringForKey(std::string_view key) = 0;

  virtual void setBool(std::string_view key, bool value) = 0;
  virtual void setInteger(std::string_view key, std::int64_t value) = 0;
  virtual void setDouble(std::string_view key, double value) = 0;
};

}  // namespace lumora::platform
