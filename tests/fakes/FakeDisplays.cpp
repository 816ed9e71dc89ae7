#include "fakes/FakeDisplays.h"

#include <algorithm>
#include <string>

namespace lumora::testing {
namespace {

std::vector<float> identity(std::size_t size) {
  std::vector<float> table(size);
  for (std::size_t i = 0; i < size; ++i)
    table[i] = static_cast<float>(i) / static_cast<float>(size - 1);
  return table;
}

}  // namespace

platform::DisplayID FakeDisplays::mainDisplayID() {
  ++mainDisplayLookups;
  return mainDisplay;
}

std::vector<platform::DisplayID> FakeDisplays::onlineDisplays() {
  std::vector<platform::DisplayID> online{mainDisplay};
  if (builtIn && *builtIn != mainDisplay) online.push_back(*builtIn);
  online.insert(online.end(), otherDisplays.begin(), otherDisplays.end());
  return online;
}

std::optional<platform::Screen> FakeDisplays::mainScreen() {
  return screen;
}

std::int32_t FakeDisplays::setTransferTable(platform::DisplayID display, std::span<const float> red,
                                            std::span<const float> green,
                                            std::span<const float> blue) {
  log_.add("displays.setTransferTable ", std::to_string(display));
  if (setTableStatus != 0) return setTableStatus;
  LoadedTable loaded{
      display, {red.begin(), red.end()}, {green.begin(), green.end()}, {blue.begin(), blue.end()}};
  if (clampsBoostedTables) {
    for (std::vector<float>* table : {&loaded.red, &loaded.green, &loaded.blue}) {
      for (float& value : *table)
        value = std::min(value, 1.0f);
    }
  }
  inForce[display] = loaded;
  tablesLoaded.push_back(std::move(loaded));
  return 0;
}

std::size_t FakeDisplays::readTransferTable(platform::DisplayID display, std::span<float> red,
                                            std::span<float> green, std::span<float> blue) {
  ++reads;
  const std::size_t size = std::min({red.size(), green.size(), blue.size()});
  const auto copy = [&](const std::vector<float>& r, const std::vector<float>& g,
                        const std::vector<float>& b) {
    const std::size_t count = std::min({size, r.size(), g.size(), b.size()});
    std::copy_n(r.begin(), count, red.begin());
    std::copy_n(g.begin(), count, green.begin());
    std::copy_n(b.begin(), count, blue.begin());
    return count;
  };
  // Allocates nothing while a table is in force, so that benchmarks count only the app.
  if (const auto loaded = inForce.find(display); loaded != inForce.end()) {
    return copy(loaded->second.red, loaded->second.green, loaded->second.blue);
  }
  const auto calibrated = calibration.find(display);
  const std::vector<float> shown =
      calibrated != calibration.end() ? calibrated->second : identity(size);
  return copy(shown, shown, shown);
}

void FakeDisplays::restoreColorSyncSettings() {
  log_.add("displays.restoreColorSync");
  ++restores;
  inForce.clear();
}

void FakeDisplays::loadFromOutside(platform::DisplayID display, std::vector<float> table) {
  inForce[display] = LoadedTable{display, table, table, table};
}

float FakeDisplays::peakInForce(platform::DisplayID display) const {
  const auto loaded = inForce.find(display);
  if (loaded == inForce.end()) return 1.0f;
  float peak = 0.0f;
  for (const std::vector<float>* table :
       {&loaded->second.red, &loaded->second.green, &loaded->second.blue}) {
    for (const float value : *table)
      peak = std::max(peak, value);
  }
  return peak;
}

}  // namespace lumora::testing
