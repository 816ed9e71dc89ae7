#pragma once

#include <atomic>
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
#include "platform/WindowServer.h"
#include "platform/sim/machine/PlistFile.h"
#include "platform/sim/machine/ProcessIdentity.h"

namespace lumora::sim {

// The state of the simulated Mac's displays, kept in a property-list file that people and tests
// may read and edit while the app runs:
//
//   MainDisplayID        integer: the display with the menu bar
//   MainScreenDisplayID  integer: the display behind the main screen; absent: no main screen
//   Displays             array of dictionaries:
//     DisplayID          integer
//     ActivePresetIndex  integer
//     Presets            dictionary: preset index in decimal ("0", "11") -> preset dictionary
//     TransferTable      dictionary, while a gamma table is loaded: Red, Green, Blue (arrays of
//                        reals), OwnerProcessID and OwnerStartTime (integers: the loading process)
//     ResetsPresetOnWake boolean: waking makes preset 0 active again
//     RefusesPresets     boolean: no preset is written, no slot but 0 made active
//
// Without the file the displays start from their factory state, which is written out. Every
// operation is thread-safe. Reads cost no parsing while the file is unchanged, and the changes
// of one pass of the run loop are written together at its end (see followPasses).
class SimDisplayState {
 public:
  static constexpr std::int32_t presetSlotCount = platform::presetSlotCount;

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
    std::int32_t activeIndex = -1;
    std::string activePresetName;
    std::optional<double> sdrNits;  // of the active preset
    std::optional<double> hdrNits;
    std::optional<std::string> slot11Name;  // none when slot 11 is empty
    std::optional<TransferTables> transferTables;
  };
  struct Snapshot {
    platform::DisplayID mainDisplay = 0;
    std::optional<platform::Screen> mainScreen;
    std::vector<DisplaySnapshot> displays;
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

  // Tables of equal, non-zero length with values from 0 to 1, owned by this process.
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
  // The tables in force: none when none were loaded or their process has ended.
  std::optional<TransferTables> transferTables(platform::DisplayID display);

  // Everything at once, from one reading of the file; the same snapshot while nothing changed.
  std::shared_ptr<const Snapshot> currentSnapshot();

  const std::filesystem::path& path() const { return file_.path(); }
  const PlistFile& file() const { return file_; }

 private:
  // The displays as they are now, with any change of this pass in them.
  plist_t root();
  std::optional<platform::Screen> mainScreenOf(plist_t root) const;
  std::optional<TransferTables> transferTablesOf(plist_t display) const;
  Snapshot makeSnapshot(plist_t root) const;
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
  // The configuration last seen by takeReconfiguration, and the version it was seen in.
  std::optional<std::string> configuration_;
  std::uint64_t configurationVersion_ = 0;
};

}  // namespace lumora::sim
