#pragma once

#include <optional>
#include <vector>

#include "fakes/EventLog.h"
#include "platform/Displays.h"

namespace lumora::testing {

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

}  // namespace lumora::testing
