#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "fakes/EventLog.h"
#include "platform/WindowServer.h"

namespace lumora::testing {

// An opaque nested value (a dictionary or array), compared by what it stands for.
struct Nested {
  std::string description;
  friend bool operator==(const Nested&, const Nested&) = default;
};

using FakeValue =
    std::variant<std::string, std::int64_t, double, bool, std::vector<std::uint8_t>, Nested>;
using FakeValues = std::map<std::string, FakeValue, std::less<>>;

// A preset dictionary that keeps each value with its exact type.
class FakePresetDictionary final : public platform::MutablePresetDictionary {
 public:
  explicit FakePresetDictionary(FakeValues values, bool copyFails = false)
      : values_(std::move(values)), copyFails_(copyFails) {}

  std::unique_ptr<platform::MutablePresetDictionary> mutableCopy() const override;
  std::optional<double> numberValue(std::string_view key) const override;
  std::optional<std::string> stringValue(std::string_view key) const override;
  void setString(std::string_view key, std::string_view value) override;
  void setDouble(std::string_view key, double value) override;
  void setInteger(std::string_view key, std::int64_t value) override;
  void setData(std::string_view key, std::span<const std::uint8_t> bytes) override;

  const FakeValues& values() const { return values_; }
  bool copyFails() const { return copyFails_; }
  // Keys in the order they were set on this dictionary.
  const std::vector<std::string>& setOrder() const { return setOrder_; }

 private:
  FakeValues values_;
  bool copyFails_;
  std::vector<std::string> setOrder_;
};

// The window server's presets of any number of displays, in memory, with the rules of the real
// one: slots 0 to 15, only a slot that holds a preset can be made active, and a read-only preset
// cannot be replaced. A contract test holds it and the simulated Mac to the same rules.
class FakeWindowServer final : public platform::WindowServer {
 public:
  explicit FakeWindowServer(EventLog& log) : log_(log) {}

  platform::OpenedPresetFunctions openPresetFunctions(
      std::string_view libraryPath, const platform::PresetFunctionNames& names) override;

  // The standard preset that tests start from: varied types, SDR 500.
  static FakeValues standardPreset();

  struct Write {
    platform::DisplayID display;
    std::int32_t index;
    FakeValues values;
    std::vector<std::string> setOrder;
  };

  // State and scripting.
  std::map<platform::DisplayID, std::map<std::int32_t, FakeValues>> presets;
  std::map<platform::DisplayID, std::int32_t> activeIndex;
  std::vector<Write> writes;
  std::vector<std::pair<platform::DisplayID, std::int32_t>> activations;
  std::vector<std::pair<platform::DisplayID, std::int32_t>> copies;
  std::int32_t setPresetStatus = 0;  // what setPresetData answers; non-zero writes nothing
  bool mutableCopyFails = false;
  std::optional<std::string> openError;
  std::vector<std::string> missingNames;
  std::string openedPath;
  platform::PresetFunctionNames requestedNames{};

 private:
  static bool isSlot(std::int32_t index);
  static bool isReadOnly(const FakeValues& preset);
  const FakeValues* presetAt(platform::DisplayID display, std::int32_t index) const;

  std::map<std::pair<platform::DisplayID, std::int32_t>,
           std::shared_ptr<const FakePresetDictionary>>
      handedOut_;

  EventLog& log_;
};

}  // namespace lumora::testing
