#include "fakes/FakeDisplays.h"

#include <string>

namespace lumora::testing {

platform::DisplayID FakeDisplays::mainDisplayID() {
  ++mainDisplayLookups;
  return mainDisplay;
}

std::optional<platform::Screen> FakeDisplays::mainScreen() {
  return screen;
}

void FakeDisplays::setTransferTable(platform::DisplayID display, std::span<const float> red,
                                    std::span<const float> green, std::span<const float> blue) {
  log_.add("displays.setTransferTable ", std::to_string(display));
  tablesLoaded.push_back(LoadedTable{
      display, {red.begin(), red.end()}, {green.begin(), green.end()}, {blue.begin(), blue.end()}});
}

void FakeDisplays::restoreColorSyncSettings() {
  log_.add("displays.restoreColorSync");
  ++restores;
}

}  // namespace lumora::testing
