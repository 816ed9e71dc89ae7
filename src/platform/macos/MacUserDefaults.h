#pragma once

#include "platform/UserDefaults.h"

namespace lumora::macos {

// NSUserDefaults.standardUserDefaults, taken afresh for every access.
class MacUserDefaults final : public platform::UserDefaults {
 public:
  bool boolForKey(std::string_view key) override;
  std::int64_t integerForKey(std::string_view key) override;
  double doubleForKey(std::string_view key) override;
  bool hasValueForKey(std::string_view key) override;
  std::optional<std::string> stringForKey(std::string_view key) override;
  void setBool(std::string_view key, bool value) override;
  void setInteger(std::string_view key, std::int64_t value) override;
  void setDouble(std::string_view key, double value) override;
};

}  // namespace lumora::macos
