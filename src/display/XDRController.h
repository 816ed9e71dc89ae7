#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "display/EventTrail.h"
#include "display/HeadroomBrightness.h"
#include "display/PresetBrightness.h"
#include "display/SystemChange.h"
#include "display/TransferTables.h"
#include "display/UnavailableReason.h"
#include "platform/OperatingSystem.h"
#include "platform/Platform.h"
#include "platform/PreferenceKey.h"

namespace lumora {

// XDR brightness: raises the display it acts on (the built-in panel where there is one) above
// its SDR ceiling, by one of two methods the user never has to tell apart. The preset method
// writes a raised copy of the standard preset into PRESET_SLOT and makes it active; the level is
// read back from the active preset. Where macOS refuses that (from macOS 26.3, or when the
// preset is not taken or is removed again), the headroom method raises it through EDR headroom
// and a gamma table, and the level chosen is held here, since preset 0 stays active.
//
// Main thread, but for changeCount and disableXDRForExit, which any thread may call.
class XDRController {
 public:
  enum class Method { preset, headroom };

  static constexpr std::string_view frameworkPath = PresetBrightness::frameworkPath;
  static constexpr platform::PresetFunctionNames functionNames = PresetBrightness::functionNames;
  static constexpr std::int32_t standardPresetIndex = PresetBrightness::standardPresetIndex;
  static constexpr std::int32_t PRESET_SLOT = PresetBrightness::PRESET_SLOT;

  // The method the user wants: "preset" tries presets first on every release, "headroom" never
  // uses them; absent, the release of macOS decides.
  static constexpr preferences::Key<std::string> brightnessMethodKey{"brightnessMethod"};
  static constexpr std::string_view presetMethodName = "preset";
  static constexpr std::string_view headroomMethodName = "headroom";
  // The first release that removes raised presets again.
  static constexpr platform::OperatingSystemVersion firstReleaseRefusingPresets{26, 3, 0};

  XDRController(platform::Platform& platform, TransferTables& tables, EventTrail& trail,
                HeadroomBrightness::Clock clock = &std::chrono::steady_clock::now);
  XDRController(const XDRController&) = delete;
  XDRController& operator=(const XDRController&) = delete;

  // The display XDR acts on, looked up afresh.
  platform::DisplayID targetDisplayID();
  Method method();

  // The SDR ceiling of the active preset in nits; 500.0 when the standard preset is active or
  // no positive ceiling can be read. Changes nothing.
  double getPresetMaxNits();
  std::int32_t getActivePresetIndex();
  // The level XDR is at, by whichever method: what the status item and the menu show.
  double currentNits();
  bool isXDREnabled();
  // What the display gives when its headroom keeps it below the level chosen; none otherwise.
  std::optional<double> cappedNits();
  // The level is chosen and the display waits for headroom that went away: it gives 500 nits.
  bool waitsForHeadroom();
  // The level this run set and still holds, for putting it back after the Mac moved under it.
  std::optional<double> levelChosen();

  // Raises the display to the level, clamped to 500 to 1600 nits. The preset method does
  // nothing when the standard preset cannot be read; when the system does not take the preset,
  // the same level goes through the headroom method for the rest of the run.
  void setXDRBrightness(double nits);
  void disableXDR();

  // What a refresh found: the level, as currentNits reads it, and whether what the display gives
  // changed, so that the menu is built again.
  struct Refresh {
    double nits = 500.0;
    bool givenChanged = false;
  };
  // On each refresh: notices a preset removed without the app (and goes on through headroom),
  // and keeps the headroom method's table true. Reads the display once for both.
  Refresh keep();
  // What changed under the display: the headroom method takes its table down while no headroom
  // is to be expected, and asks for headroom again once the displays are back.
  // Returns true when what the display gives changed.
  bool notice(SystemChange change);
  // Over sleep and display changes a preset may be dropped without being removed for good; the
  // keeper puts it back, so it is not taken for a removal meanwhile.
  void watchForRemoval(bool watching) { watchingRemoval_ = watching; }

  // What the display gives now, by either method: the level, less where the headroom caps it,
  // the SDR ceiling while the headroom method waits. None during the first wait for headroom.
  std::optional<double> givenNits();

  // Without alerts, the outcomes are said on standard error only: for a check run from the
  // command line, which reports them itself.
  void setAlertsShown(bool shown) { alertsShown_ = shown; }

  // The presets of a display as they are, to be put back after a check: the active one and what
  // PRESET_SLOT holds.
  struct SavedPresets {
    std::int32_t activeIndex = -1;
    std::shared_ptr<const platform::PresetDictionary> slot;
  };
  SavedPresets savePresets(platform::DisplayID display);
  // Puts PRESET_SLOT back as it was (a slot that was empty cannot be emptied again, and keeps
  // what was written since) and makes the preset that was active active again.
  void restorePresets(platform::DisplayID display, const SavedPresets& saved);

  // What the "Copy Diagnostics" button of the "Unavailable" alert does.
  void setDiagnosticsCopier(std::function<void()> copy) { copyDiagnostics_ = std::move(copy); }
  // Why XDR brightness was last found unavailable this run; none while it never was.
  std::optional<UnavailableReason> unavailableReason() const { return unavailableReason_; }
  // Why the method in use is the one, and when the run switched to headroom, if it did.
  std::string_view methodReason() const { return methodReason_; }
  std::optional<std::chrono::steady_clock::duration> switchedAt() const { return switchedAt_; }

  // What the display holds of presets: the active one and PRESET_SLOT.
  struct Presets {
    std::int32_t activeIndex = -1;
    std::optional<PresetBrightness::Summary> active;
    std::optional<PresetBrightness::Summary> slot;
    // The window server's functions could be opened.
    bool readable = false;
  };
  Presets presetsOf(platform::DisplayID display);
  // The display the EDR window is on; none while it is not shown.
  std::optional<platform::DisplayID> edrWindowDisplay() const { return headroom_.windowDisplay(); }

  // Runs when the headroom method's state changed by itself (headroom came or did not, another
  // app took the table over), to show it.
  void setChangeHandler(std::function<void()> changed) { changed_ = std::move(changed); }

  // What changed the display during this run. Main thread only.
  EventTrail& trail() { return trail_; }

  // How many times this controller has changed the display, for callers that need to know
  // whether the level was changed since they last looked.
  std::uint64_t changeCount() const;

  // disableXDR for a process that is ending while its main thread may still be at work: once it
  // returns, nothing this controller is asked to do changes the display any more.
  void disableXDRForExit();

  static constexpr std::string_view unavailableMessageText = "XDR Brightness Unavailable";
  static constexpr std::string_view copyDiagnosticsButtonTitle = "Copy Diagnostics";
  static constexpr std::string_view stoppedMessageText = "XDR Brightness Stopped";
  static constexpr std::string_view stoppedInformativeText =
      "Another app keeps changing the display's colours (a night-light or calibration tool, for "
      "example), so XDR brightness was turned off. Pick a level to turn it on again.";

 private:
  Method chooseMethod();
  // Opens the preset method; when it cannot work, switches to headroom. Call with writeMutex_.
  bool presetMethodOpens();
  void switchToHeadroom(std::string_view why);
  double currentNitsOfHeadroom() const;
  void onHeadroomOutcome(HeadroomBrightness::Outcome outcome, HeadroomBrightness::Cause cause);
  UnavailableReason reasonFor(HeadroomBrightness::Cause cause);
  void sayUnavailable(UnavailableReason reason);
  // One line on standard error and one alert, the first time only.
  void sayOnce(bool& said, std::string_view line, std::string_view message,
               std::string_view informative);

  platform::Platform& platform_;
  EventTrail& trail_;
  HeadroomBrightness headroom_;
  PresetBrightness preset_;

  std::atomic<bool> methodChosen_{false};
  std::atomic<Method> method_{Method::preset};
  // The level of the preset last written, while it is the one in force.
  std::optional<double> presetLevel_;
  bool watchingRemoval_ = true;
  // While set, a change of the headroom method is shown by the caller's own refresh.
  bool inCall_ = false;
  std::function<void()> changed_;
  std::function<void()> copyDiagnostics_;
  bool alertsShown_ = true;
  std::optional<UnavailableReason> unavailableReason_;

  // Serialises the preset calls, so a write in progress on the main thread finishes before
  // the exit path restores the standard preset, and none starts after it.
  mutable std::mutex writeMutex_;
  std::atomic<bool> exiting_{false};
  std::uint64_t changes_ = 0;
  bool presetsUsed_ = false;
  bool switchSaid_ = false;
  // The window server did not take a preset written this run.
  bool presetsRefused_ = false;
  // Why the method in use is the one: a text with static storage.
  std::string_view methodReason_;
  // When the method switched to headroom, since launch.
  std::optional<std::chrono::steady_clock::duration> switchedAt_;
  bool unavailableSaid_ = false;
  bool stoppedSaid_ = false;
};

}  // namespace lumora
