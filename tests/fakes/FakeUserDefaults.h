#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "fakes/EventLog.h"
#include "platform/UserDefaults.h"

namespace lumora::testing {

// User defaults in memory, with the exact type of each stored value.
class FakeUserDefaults final : public platform::UserDefaults {
 public:
  using Value = std::variant<bool, std::int64_t, double, std::string>;

  explicit FakeUserDefaults(EventLog& log) : log_(log) {}

  bool boolForKey(std::string_view key) override;
  std::int64_t integerForKey(std::string_view key) override;
  double doubleForKey(std::string_view key) override;
  bool hasValueForKey(std::string_view key) override;
  std::optional<std::string> stringForKey(std::string_view key) override;
  void setBool(std::string_view key, bool value) override;
  void setInteger(std::string_view key, std::int64_t value) override;
  void setDouble(std::string_view key, double value) override;

  std::map<std::string, Value, std::less<>> values;
  int writeCount = 0;
  // As a store whose file cannot be saved: writes change nothing.
  bool writesFail = false;

 private:
  void store(std::string_view key, Value value);

  EventLog& log_;
};

}  // namespace lumora::testing
