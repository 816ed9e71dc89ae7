#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "EventLog.h"
#include "platform/Console.h"
#include "platform/Displays.h"
#include "platform/UserDefaults.h"

namespace lumora::testing {

// User defaults in memory, with the exact type of each stored value.
class FakeUserDefaults final : public platform::UserDefaults {
 public:
  using Value = std::variant<bool, std::int64_t, double>;

  explicit FakeUserDefaults(EventLog& log) : log_(log) {}

  bool boolForKey(std::string_view key) override;
  std::int64_t integerForKey(std::string_view key) override;
  double doubleForKey(std::string_view key) override;
  void setBool(std::string_view key, bool value) override;
  void setInteger(std::string_view key, std::int64_t value) override;
  void setDouble(std::string_view key, double value) override;

  std::map<std::string, Value, std::less<>> values;
  int writeCount = 0;

 private:
  EventLog& log_;
};

// Displays in memory: the main display, the main screen and the tables loaded.
class FakeDisplays final : public platform::Displays {
 public:
  explicit FakeDisplays(EventLog& log) : log_(log) {}

  platform::DisplayID mainDisplayID() override;
  std::optional<platform::Screen> mainScreen() override;
  void setTransferTable(platform::DisplayID display, std::span<const float> red,
                        std::span<const float> green, std::span<const float> blue) override;
  void restoreColorSyncSettings() override;

  struct LoadedTable {
    platform::DisplayID display;
    std::vector<float> red, green, blue;
  };

  platform::DisplayID mainDisplay = 7;
  std::optional<platform::Screen> screen = platform::Screen{std::int64_t{7}};
  int mainDisplayLookups = 0;
  std::vector<LoadedTable> tablesLoaded;
  int restores = 0;

 private:
  EventLog& log_;
};

class FakeConsole final : public platform::Console {
 public:
  void printLine(std::string_view line) override { output.emplace_back(line); }
  void printErrorLine(std::string_view line) override { errors.emplace_back(line); }

  std::vector<std::string> output;
  std::vector<std::string> errors;
};

}  // namespace lumora::testing
