#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>

#include "platform/Alerts.h"
#include "platform/Console.h"
#include "platform/Displays.h"
#include "platform/MainQueue.h"
#include "platform/WindowServer.h"

namespace lumora {

// Raises the main display above its SDR ceiling through the window server's display presets:
// a copy of the standard preset with the SDR luminance raised is written into PRESET_SLOT and
// made active; making the standard preset active turns XDR off again. Nothing about the state is
// kept here: the level is read back from the active preset whenever it is asked for.
//
// Every window-server call targets the main display, looked up afresh before each call. The
// operations may be called from any thread.
class XDRController {
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

  // Opens the window server's framework and looks up its four preset functions. Without all four
  // the controller reads 500.0 and changes nothing; one line on standard error says why.
  XDRController(platform::Displays& displays, platform::WindowServer& windowServer,
                platform::Console& console, platform::MainQueue& mainQueue,
                platform::Alerts& alerts);
  XDRController(const XDRController&) = delete;
  XDRController& operator=(const XDRController&) = delete;

  platform::DisplayID mainDisplayID() const;

  // The SDR ceiling of the active preset in nits; 500.0 when the standard preset is active or
  // no positive ceiling can be read. Changes nothing.
  double getPresetMaxNits() const;
  std::int32_t getActivePresetIndex() const;
  bool isXDREnabled() const;

  // Writes an XDR preset for the level, clamped to 500 to 1600 nits, into PRESET_SLOT and makes
  // it active. Does nothing when the standard preset cannot be read. When the system does not
  // take it (slot 11 is not active afterwards, or does not hold the level written), the standard
  // preset is made active again and, once per run, the user is told why.
  void setXDRBrightness(double nits);
  void disableXDR();

  // How many times this controller has written to the display, for callers that need to know
  // whether the level was changed since they last looked.
  std::uint64_t changeCount() const;

  // disableXDR for a process that is ending while its main thread may still be at work: once it
  // returns, nothing this controller is asked to do changes the display any more.
  void disableXDRForExit();

  static constexpr std::string_view refusedMessageText = "XDR Brightness Unavailable";
  static constexpr std::string_view refusedInformativeText =
      "macOS did not accept the brightness preset, so the display stays at its standard "
      "brightness. XDR brightness may not be available on this version of macOS.";

 private:
  bool hasPresetFunctions() const;
  void activateStandardPreset();
  bool holdsLevel(double nits) const;
  void sayRefused();

  platform::Displays& displays_;
  platform::Console& console_;
  platform::MainQueue& mainQueue_;
  platform::Alerts& alerts_;
  std::function<std::int32_t(platform::DisplayID)> getActiveFn_;
  std::function<std::int32_t(platform::DisplayID, std::int32_t)> setActiveFn_;
  std::function<std::shared_ptr<const platform::PresetDictionary>(platform::DisplayID,
                                                                  std::int32_t)>
      getPresetFn_;
  std::function<std::int32_t(platform::DisplayID, std::int32_t, const platform::PresetDictionary&)>
      setPresetFn_;

  // Serialises the display writes, so a write in progress on the main thread finishes before
  // the exit path restores the standard preset, and none starts after it.
  mutable std::mutex writeMutex_;
  bool exiting_ = false;
  std::uint64_t changes_ = 0;
  bool refusalSaid_ = false;
};

}  // namespace lumora
