#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/Console.h"
#include "platform/Displays.h"
#include "platform/OperatingSystem.h"
#include "platform/Power.h"
#include "platform/WindowServer.h"
#include "platform/sim/machine/EDRCompositor.h"
#include "platform/sim/machine/PlistFile.h"
#include "platform/sim/machine/ProcessIdentity.h"

namespace lumora::sim {

// The state of the simulated Mac's displays, kept in a property-list file that people and tests
// may read and edit while the app runs:
//
//   Model                string: the Mac's model identifier, as "Mac15,7"
//   SystemVersion        string: the release of macOS, as "26.4"; absent: one before 26.3. From
//                        26.3 on, a preset raised above 500 nits is taken and removed again
//                        within a second (see removeRaisedPresets)
//   Power                dictionary: Source ("AC" or "Battery"), BatteryPercent (integer) and
//                        ThermalState ("nominal", "fair", "serious", "critical"); absent: a Mac
//                        without a battery, nominal. A change is not a reconfiguration
//   MainDisplayID        integer: the display with the menu bar
//   MainScreenDisplayID  integer: the display behind the main screen; absent: no main screen
//   TakenHotKeys         array of strings: key combinations other apps hold, as
//                        "ctrl+option+command+up"
//   Displays             array of dictionaries:
//     DisplayID          integer
//     ActivePresetIndex  integer
//     Presets            dictionary: preset index in decimal ("0", "11") -> preset dictionary
//     TransferTable      dictionary, while a gamma table is loaded: Red, Green, Blue (arrays of
//                        reals), OwnerProcessID and OwnerStartTime (integers: the loading process)
//     ResetsPresetOnWake boolean: waking makes preset 0 active again
//     RefusesPresets     boolean: no preset is written, no slot but 0 made active
//     BuiltIn            boolean: the Mac's own panel; absent: not built in
//     MaximumEDRHeadroom real: the EDR headroom the display gives while an EDR window is on it
//                        (heat and ambient light change it); absent: 1.0, none
//     EDRHeadroomDelay   real: seconds from an EDR window's drawing to the headroom; absent 0.5
//     DropsEDROnSpaceChange boolean: a Space change takes the headroom away until the EDR window
//                        is drawn again
//     EDRRefusedAfterWakeSeconds real: for that long after wake, an EDR window drawn gets none
//     IgnoresBoostedTables boolean: a table with values above 1.0 is taken, and kept clamped at
//                        1.0, as a release that does not apply boosted tables
//
// The EDR windows shown are the process's own, kept in memory as macOS keeps windows (see
// EDRCompositor): the current headroom of a display rises to its maximum once one has been drawn
// on it for the delay, and is 1.0 without one, while the Mac sleeps or the screen is locked.
//
// Without the file the displays start from their factory state, which is written out. Every
// operation is thread-safe. Reads cost no parsing while the file is unchanged, and the changes
// of one pass of the run loop are written together at its end (see followPasses).
class SimDisplayState {
 public:
  static constexpr std::int32_t presetSlotCount = platform::presetSlotCount;
  using EDRClock = EDRCompositor::Clock;
  static constexpr double defaultHeadroomDelay = 0.5;  // seconds

  // The window server's answers.
  static constexpr std::int32_t success = platform::windowServerStatus::success;
  static constexpr std::int32_t failure = platform::windowServerStatus::failure;
  static constexpr std::int32_t illegalArgument = platform::windowServerStatus::illegalArgument;
  static constexpr std::int32_t rangeCheck = platform::windowServerStatus::rangeCheck;
  static constexpr std::int32_t invalidOperation = platform::windowServerStatus::invalidOperation;

  struct TransferTables {
    std::vector<float> red;
    std::vector<float> green;
    std::vector<float> blue;
    ProcessIdentity owner;
  };

  // One display as people see it, for the front ends.
  struct DisplaySnapshot {
    platform::DisplayID id = 0;
    std::string name;
    bool builtIn = false;
    std::int32_t activeIndex = -1;
    std::string activePresetName;
    std::optional<double> sdrNits;  // of the active preset
    std::optional<double> hdrNits;
    std::optional<std::string> slot11Name;  // none when slot 11 is empty
    std::optional<TransferTables> transferTables;
    double maximumHeadroom = 1.0;
    bool edrWindowShown = false;
    std::uint64_t edrWindowDraws = 0;
    bool edrWindowExcludedFromCapture = false;
    double currentHeadroom = 1.0;
    // What the display shows SDR white at: the active preset's ceiling, times the table's peak
    // where it goes above 1.0, as far as the current headroom lets it.
    double givenNits = 500.0;
    // The table asks for more above SDR white than the current headroom shows.
    bool overExposed = false;
  };
  struct Snapshot {
    std::string systemVersion;  // empty when the file names none
    platform::PowerState power;
    std::optional<platform::DisplayID> builtInDisplay;
    platform::DisplayID mainDisplay = 0;
    std::optional<platform::Screen> mainScreen;
    std::vector<DisplaySnapshot> displays;

    // The display with this number; null when it is not connected.
    const DisplaySnapshot* display(platform::DisplayID id) const {
      for (const DisplaySnapshot& each : displays) {
        if (each.id == id) return &each;
      }
      return nullptr;
    }
  };

  // A preset as the window server hands it out: a copy that never changes, the same one while
  // the displays stay as they are.
  using PresetView = SharedPlist;

  SimDisplayState(std::filesystem::path file, platform::Console& console);

  // See PlistFile::followPasses; flush() ends each pass.
  void followPasses(const std::atomic<std::uint64_t>& passNumber);
  void flush();
  // Changes whenever what the displays hold may have changed.
  std::uint64_t version();

  platform::DisplayID mainDisplayID();
  std::optional<platform::Screen> mainScreen();

  // -1 for a display that does not exist.
  std::int32_t activePresetIndex(platform::DisplayID display);
  // Only a slot that holds a preset can be made active.
  std::int32_t setActivePresetIndex(platform::DisplayID display, std::int32_t index);
  // A copy of the preset, or null for an empty slot or a display that does not exist.
  PlistPtr copyPreset(platform::DisplayID display, std::int32_t index);
  // The preset, shared; null for an empty slot or a display that does not exist.
  PresetView presetView(platform::DisplayID display, std::int32_t index);
  // A read-only preset (PresetWritable false or 0) cannot be replaced.
  std::int32_t setPreset(platform::DisplayID display, std::int32_t index, plist_t preset);

  // Tables of equal, non-zero length with finite values from 0 up to maximumTableValue, owned
  // by this process.
  static constexpr float maximumTableValue = 16.0f;
  std::int32_t setTransferTables(platform::DisplayID display, std::span<const float> red,
                                 std::span<const float> green, std::span<const float> blue);
  // Every display back to its calibration.
  void restoreCalibration();
  // What waking does to the displays: those that reset their preset on wake make preset 0
  // active.
  void resetPresetsOnWake();
  // Whether the displays, the main display or the main screen changed since the last call, by
  // someone else's edit of the file (the app never changes them). The first call only looks.
  bool takeReconfiguration();
  // Whether the file had changed at that last look, for what else follows its changes once a
  // pass (the power state) without looking again. Main thread only.
  bool changedAtLastLook() const { return changedAtLastLook_; }
  // The tables in force: none when none were loaded or their process has ended.
  std::optional<TransferTables> transferTables(platform::DisplayID display);
  // The tables in force, the calibration (the identity) where none are, into the spans;
  // how many entries were written. 0 for a display that does not exist. Allocates nothing
  // while the file is unchanged.
  std::size_t readTransferTables(platform::DisplayID display, std::span<float> red,
                                 std::span<float> green, std::span<float> blue);

  // TakenHotKeys, as written.
  std::vector<std::string> takenHotKeys();

  // The first display that is built in; none when no display is.
  std::optional<platform::DisplayID> builtInDisplayID();
  // SystemVersion; where the file names none (or none that reads as a version), a release
  // before 26.3.
  platform::OperatingSystemVersion systemVersion();
  static constexpr platform::OperatingSystemVersion unnamedRelease{26, 2, 0};
  // Model, the Mac's model identifier; empty where the file names none.
  std::string model();
  // Whether this release removes raised presets again (26.3 and later).
  bool removesRaisedPresets();
  // What the window server of such a release does a moment after a raised preset was written:
  // every preset above 500 nits is removed, and a display that had one active goes back to
  // preset 0.
  void removeRaisedPresets();

  // The Mac's power and heat, as the file tells them; the same while the file is unchanged.
  platform::PowerState power();
  // What the simulated Mac's front ends change, as unplugging or a hot room would: a Mac with a
  // battery from then on.
  std::int32_t setPowerSource(bool onBattery, std::optional<int> batteryPercent);
  std::int32_t setThermalState(platform::ThermalState state);
  static std::string_view thermalStateName(platform::ThermalState state) {
    return platform::thermalStateName(state);
  }

  // The process's EDR windows: an identifier for the window shown and drawn once (0 for a
  // display that does not exist), a frame drawn again, and its end.
  std::uint64_t showEDRWindow(platform::DisplayID display, bool excludedFromCapture);
  void drawEDRWindow(std::uint64_t window);
  void hideEDRWindow(std::uint64_t window);
  // How far above 1.0 the display can show values now.
  double currentHeadroom(platform::DisplayID display);
  // Asleep, no display gives headroom; at wake it comes back after each display's delay (see
  // EDRCompositor for a display that refuses it for a while after wake).
  void setAsleep(bool asleep);
  // Locked, no display gives headroom; after unlocking, only to a window drawn since.
  void setLocked(bool locked);
  bool isLocked();
  // The active Space changed: displays with DropsEDROnSpaceChange let go of their headroom until
  // the window is drawn again.
  void changeSpace();

  // Everything at once, from one reading of the file; the same snapshot while nothing changed.
  std::shared_ptr<const Snapshot> currentSnapshot();

  const std::filesystem::path& path() const { return file_.path(); }
  const PlistFile& file() const { return file_; }

 private:
  // The displays as they are now, with any change of this pass in them.
  plist_t root();
  std::optional<platform::Screen> mainScreenOf(plist_t root) const;
  std::optional<TransferTables> transferTablesOf(plist_t display) const;
  // `risesAt` is when a display's headroom next rises by itself, if one will.
  Snapshot makeSnapshot(plist_t root, EDRClock::time_point now,
                        std::optional<EDRClock::time_point>& risesAt) const;
  bool snapshotIsCurrent();
  // A change asked for that is already made.
  std::int32_t alreadySo();
  template <typename Change>
  std::int32_t changeDocument(Change&& changeRoot);
  template <typename Change>
  std::int32_t change(platform::DisplayID display, Change&& changeDisplay);

  std::mutex mutex_;
  PlistFile file_;
  PlistPtr unwritableFactory_;
  // The presets handed out, each with the version of the displays it was copied from.
  std::map<std::pair<platform::DisplayID, std::int32_t>, std::pair<std::uint64_t, PresetView>>
      presetViews_;
  std::shared_ptr<const Snapshot> snapshot_;
  std::uint64_t snapshotVersion_ = 0;
  bool snapshotOfFile_ = false;
  // The loading processes of the snapshot's tables, and whether they ran when it was made.
  std::vector<std::pair<ProcessIdentity, bool>> snapshotOwners_;
  EDRCompositor edrCompositor_;
  bool asleep_ = false;
  // Changes with the EDR windows and sleep, which the snapshot shows.
  std::uint64_t edrVersion_ = 0;
  std::uint64_t snapshotEDRVersion_ = 0;
  // When the snapshot's headroom next rises by itself.
  std::optional<EDRClock::time_point> snapshotHeadroomRises_;
  // The configuration last seen by takeReconfiguration, and the version it was seen in.
  std::optional<std::string> configuration_;
  std::uint64_t configurationVersion_ = 0;
  bool changedAtLastLook_ = true;
};

}  // namespace lumora::sim
