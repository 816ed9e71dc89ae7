#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "fakes/EventLog.h"
#include "platform/Displays.h"

namespace lumora::testing {

// Displays in memory: the main display, the built-in one, the main screen and the tables in
// force. A display shows its calibration (the identity unless set) until a table is loaded.
class FakeDisplays final : public platform::Displays {
 public:
  explicit FakeDisplays(EventLog& log) : log_(log) {}

  platform::DisplayID mainDisplayID() override;
  std::optional<platform::DisplayID> builtInDisplayID() override { return builtIn; }
  std::optional<platform::Screen> mainScreen() override;
  std::vector<platform::DisplayID> onlineDisplays() override;
  std::int32_t setTransferTable(platform::DisplayID display, std::span<const float> red,
                                std::span<const float> green, std::span<const float> blue) override;
  std::size_t readTransferTable(platform::DisplayID display, std::span<float> red,
                                std::span<float> green, std::span<float> blue) override;
  void restoreColorSyncSettings() override;

  struct LoadedTable {
    platform::DisplayID display;
    std::vector<float> red, green, blue;
  };

  // A table another app loads, or macOS keeps from an earlier run.
  void loadFromOutside(platform::DisplayID display, std::vector<float> table);
  // The peak of the table in force on `display`: 1.0 for the identity.
  float peakInForce(platform::DisplayID display) const;

  platform::DisplayID mainDisplay = 7;
  std::optional<platform::DisplayID> builtIn;
  // Connected besides the main display and the built-in one.
  std::vector<platform::DisplayID> otherDisplays;
  std::optional<platform::Screen> screen = platform::Screen{std::int64_t{7}};
  int mainDisplayLookups = 0;
  std::vector<LoadedTable> tablesLoaded;
  int restores = 0;
  int reads = 0;
  // What setTransferTable answers; non-zero loads nothing.
  std::int32_t setTableStatus = 0;
  // Values above 1.0 are taken and kept as 1.0, as a release that ignores boosted tables.
  bool clampsBoostedTables = false;
  // Tables in force by display; a display without one shows its calibration.
  std::map<platform::DisplayID, LoadedTable> inForce;
  std::map<platform::DisplayID, std::vector<float>> calibration;

 private:
  EventLog& log_;
};

}  // namespace lumora::testing
