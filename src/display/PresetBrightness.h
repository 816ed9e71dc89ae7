#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Displays.h"
#include "platform/WindowServer.h"

namespace lumora {

// The preset method of raising a display above its SDR ceiling: a copy of the standard preset
// with the SDR luminance raised is written into PRESET_SLOT and made active; making the standard
// preset active again turns it off. It keeps nothing about the level: that is read back from the
// active preset. The window server's framework is opened on first use. Not thread-safe: its
// owner serialises the calls.
class PresetBrightness {
 public:
  static constexpr std::string_view frameworkPath =
      "/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight";
  static constexpr platform::PresetFunctionNames functionNames{
      .getActivePresetIndex = "SLSDisplayGetActivePresetIndex",
      .setActivePresetIndex = "SLSDisplaySetActivePresetIndex",
      .copyPresetData = "SLSDisplayCopyPresetData",
      .setPresetData = "SLSDisplaySetPresetData",
  };
  static constexpr std::int32_t standardPresetIndex = 0;
  static constexpr std::int32_t PRESET_SLOT = 11;

  explicit PresetBrightness(platform::WindowServer& windowServer) : windowServer_(windowServer) {}

  // Opens the framework and looks up its four functions, once. Empty when all four are there;
  // otherwise why the method cannot work, and nothing of it is ever called.
  const std::string& open();
  bool isOpen() const { return opened_ && whyUnavailable_.empty(); }

  std::int32_t activePresetIndex(platform::DisplayID display);
  // The SDR ceiling of the preset at `activeIndex`, the active one: none when that is the
  // standard preset or no positive ceiling can be read.
  std::optional<double> activeCeiling(platform::DisplayID display, std::int32_t activeIndex);
  // The same for the preset active now.
  std::optional<double> activeCeiling(platform::DisplayID display) {
    return activeCeiling(display, activePresetIndex(display));
  }
  // The SDR ceiling held in PRESET_SLOT, active or not; none when the slot is empty or holds no
  // number.
  std::optional<double> slotCeiling(platform::DisplayID display);

  // What a preset tells of itself.
  struct Summary {
    std::string name;
    std::optional<double> sdrNits;
    std::optional<double> hdrNits;

    // A reference preset holds SDR white below 500 nits, or allows nothing above it: neither
    // method can raise the display past 500 nits while it is active.
    bool fixesBrightness() const;
  };
  // The preset in slot `index`; none for an empty slot, or when the framework is not open.
  std::optional<Summary> summary(platform::DisplayID display, std::int32_t index);
  // A copy of the preset in slot `index`, to be written back later; null for an empty slot.
  std::shared_ptr<const platform::PresetDictionary> copy(platform::DisplayID display,
                                                         std::int32_t index);
  // Writes `preset` back into slot `index`. Returns the window server's status.
  std::int32_t restore(platform::DisplayID display, std::int32_t index,
                       const platform::PresetDictionary& preset);

  enum class WriteResult {
    taken,       // PRESET_SLOT is active and holds the level
    refused,     // the system did not take it; the standard preset is active again
    notWritten,  // the standard preset could not be copied: nothing changed
  };
  // Writes the preset for `clampedNits` and makes it active, then reads it back.
  WriteResult write(platform::DisplayID display, double clampedNits);
  void activateStandardPreset(platform::DisplayID display);
  void activate(platform::DisplayID display, std::int32_t index);

 private:
  platform::WindowServer& windowServer_;
  bool opened_ = false;
  std::string whyUnavailable_;
  std::function<std::int32_t(platform::DisplayID)> getActiveFn_;
  std::function<std::int32_t(platform::DisplayID, std::int32_t)> setActiveFn_;
  std::function<std::shared_ptr<const platform::PresetDictionary>(platform::DisplayID,
                                                                  std::int32_t)>
      getPresetFn_;
  std::function<std::int32_t(platform::DisplayID, std::int32_t, const platform::PresetDictionary&)>
      setPresetFn_;
};

}  // namespace lumora
