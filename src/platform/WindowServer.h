#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Displays.h"

namespace lumora::platform {

class MutablePresetDictionary;

// What the window server answers (CGError values), and how many preset slots a display has.
namespace windowServerStatus {
inline constexpr std::int32_t success = 0;
inline constexpr std::int32_t failure = 1000;
inline constexpr std::int32_t illegalArgument = 1001;
inline constexpr std::int32_t rangeCheck = 1007;
inline constexpr std::int32_t invalidOperation = 1010;
}  // namespace windowServerStatus
inline constexpr std::int32_t presetSlotCount = 16;

// A display preset as the window server hands it out: a property-list dictionary with string
// keys, held in the platform's own representation so that every value keeps its exact type.
class PresetDictionary {
 public:
  virtual ~PresetDictionary() = default;

  // A mutable copy holding every key and value of this one; null when it cannot be made.
  virtual std::unique_ptr<MutablePresetDictionary> mutableCopy() const = 0;

  // The value under `key` as a double when it is a number (integer or real); booleans, strings
  // and other types are not numbers.
  virtual std::optional<double> numberValue(std::string_view key) const = 0;
  // The value under `key` when it is a string.
  virtual std::optional<std::string> stringValue(std::string_view key) const = 0;
};

class MutablePresetDictionary : public PresetDictionary {
 public:
  virtual void setString(std::string_view key, std::string_view value) = 0;
  virtual void setDouble(std::string_view key, double value) = 0;
  virtual void setInteger(std::string_view key, std::int64_t value) = 0;
  virtual void setData(std::string_view key, std::span<const std::uint8_t> bytes) = 0;
};

// The window server's display-preset entry points. An entry is empty when the library does not
// export it. A copied preset is shared and never changes: a backend may hand out the same one
// again while the preset stays as it is. Statuses are the window server's own: 0 for success.
// Any thread may call them, and open the library.
struct PresetFunctions {
  std::function<std::int32_t(DisplayID)> getActivePresetIndex;
  std::function<std::int32_t(DisplayID, std::int32_t)> setActivePresetIndex;
  std::function<std::shared_ptr<const PresetDictionary>(DisplayID, std::int32_t)> copyPresetData;
  std::function<std::int32_t(DisplayID, std::int32_t, const PresetDictionary&)> setPresetData;
};

// The exported names under which the entries of PresetFunctions are looked up.
struct PresetFunctionNames {
  std::string_view getActivePresetIndex;
  std::string_view setActivePresetIndex;
  std::string_view copyPresetData;
  std::string_view setPresetData;
};

struct OpenedPresetFunctions {
  PresetFunctions functions;
  // Empty when the library was opened; otherwise why it could not be.
  std::string openError;
};

// The window server's private framework, opened at run time (dlopen and dlsym).
class WindowServer {
 public:
  virtual ~WindowServer() = default;

  // Opens the library at `libraryPath` and looks up each entry by its name. The entries keep the
  // library loaded for as long as any of them exists.
  virtual OpenedPresetFunctions openPresetFunctions(std::string_view libraryPath,
                                                    const PresetFunctionNames& names) = 0;
};

}  // namespace lumora::platform
