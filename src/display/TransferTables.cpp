#include "display/TransferTables.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/TableResampling.h"

namespace lumora {
namespace {

using ChannelTables = TransferTables::ChannelTables;
using Table = TransferTables::Table;

Table identity() {
  Table table{};
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = static_cast<float>(i) / static_cast<float>(table.size() - 1);
  return table;
}

float peakOf(const ChannelTables& tables) {
  float peak = 0.0f;
  for (const Table* table : {&tables.red, &tables.green, &tables.blue}) {
    for (const float value : *table)
      peak = std::max(peak, value);
  }
  return peak;
}

// A display's table read back may have lost some precision on its way through the hardware.
bool nearlyEqual(const Table& read, const Table& loaded) {
  // The same bits, as where the table comes back as it went: the check of every second.
  if (std::memcmp(read.data(), loaded.data(), sizeof(Table)) == 0) return true;
  for (std::size_t i = 0; i < read.size(); ++i) {
    const float tolerance = std::max(1.0f, std::fabs(loaded[i])) / 512.0f;
    if (!(std::fabs(read[i] - loaded[i]) <= tolerance)) return false;
  }
  return true;
}

bool contains(const std::vector<platform::DisplayID>& displays, platform::DisplayID display) {
  return std::find(displays.begin(), displays.end(), display) != displays.end();
}

}  // namespace

TransferTables::TransferTables(platform::Displays& displays, platform::DisplayID display)
    : displays_(displays) {
  ChannelTables found = readTables(display);
  if (peakOf(found) > sdrPeak) {
    displays_.restoreColorSyncSettings();
    found = readTables(display);
  }
  calibrations_.emplace_back(display, found);
}

Table TransferTables::multiplied(const Table& base, float factor) {
  Table table{};
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = base[i] * factor;
  return table;
}

Table TransferTables::resampled(std::span<const float> entries) {
  if (entries.size() < 2) return identity();
  Table table{};
  platform::resampleTable(entries, table);
  return table;
}

ChannelTables TransferTables::readTables(platform::DisplayID display) {
  ChannelTables read;
  const std::size_t count = displays_.readTransferTable(display, read.red, read.green, read.blue);
  if (count == tableSize) return read;
  ChannelTables tables;
  const std::size_t valid = std::min(count, tableSize);
  tables.red = resampled(std::span<const float>(read.red).first(valid));
  tables.green = resampled(std::span<const float>(read.green).first(valid));
  tables.blue = resampled(std::span<const float>(read.blue).first(valid));
  return tables;
}

const ChannelTables& TransferTables::calibrationOf(platform::DisplayID display) {
  for (const auto& [id, tables] : calibrations_) {
    if (id == display) return tables;
  }
  // Read before the first change; a display the app already changed has lost its own table.
  ChannelTables tables;
  if (contains(loadedOn_, display)) {
    tables.red = tables.green = tables.blue = identity();
  } else {
    tables = readTables(display);
  }
  calibrations_.emplace_back(display, tables);
  return calibrations_.back().second;
}

std::vector<TransferTables::Load> TransferTables::wantedLoads() {
  std::vector<Load> loads;
  const bool deepBlacksHere = deepBlacksOn_ && deepBlacksDisplay_.has_value();
  if (deepBlacksHere && deepBlacksDisplay_ != boostDisplay_) {
    Load deepBlacks{*deepBlacksDisplay_, {}};
    deepBlacks.tables.red = deepBlacks.tables.green = deepBlacks.tables.blue = deepBlacksCurve_;
    loads.push_back(deepBlacks);
  }
  if (boostDisplay_) {
    Load boost{*boostDisplay_, {}};
    if (deepBlacksHere && deepBlacksDisplay_ == boostDisplay_) {
      boost.tables.red = boost.tables.green = boost.tables.blue =
          multiplied(deepBlacksCurve_, boostFactor_);
    } else {
      const ChannelTables& base = calibrationOf(*boostDisplay_);
      boost.tables.red = multiplied(base.red, boostFactor_);
      boost.tables.green = multiplied(base.green, boostFactor_);
      boost.tables.blue = multiplied(base.blue, boostFactor_);
    }
    boostLoaded_ = boost.tables;
    loads.push_back(boost);
  }
  return loads;
}

std::int32_t TransferTables::load(const Load& load) {
  return displays_.setTransferTable(load.display, load.tables.red, load.tables.green,
                                    load.tables.blue);
}

TransferTables::Applied TransferTables::apply() {
  if (exiting_) return {};
  const std::vector<Load> loads = wantedLoads();
  const bool stale = std::any_of(loadedOn_.begin(), loadedOn_.end(), [&loads](auto display) {
    return std::none_of(loads.begin(), loads.end(),
                        [display](const Load& load) { return load.display == display; });
  });
  // Off hands the displays back to their calibration, as switching Deep Blacks off always has.
  if (stale || (loads.empty() && !deepBlacksOn_)) displays_.restoreColorSyncSettings();
  Applied applied;
  loadedOn_.clear();
  for (const Load& each : loads) {
    const std::int32_t status = load(each);
    if (each.display == boostDisplay_) applied.boost = status;
    if (each.display == deepBlacksDisplay_) applied.deepBlacks = status;
    loadedOn_.push_back(each.display);
  }
  return applied;
}

std::int32_t TransferTables::setDeepBlacks(std::optional<platform::DisplayID> display,
                                           const Table& curve) {
  const std::lock_guard lock(mutex_);
  const bool wasOn = deepBlacksOn_;
  const std::optional<platform::DisplayID> wasOnDisplay = deepBlacksDisplay_;
  const Table wasCurve = deepBlacksCurve_;
  deepBlacksOn_ = true;
  deepBlacksDisplay_ = display;
  deepBlacksCurve_ = curve;
  const std::int32_t status = apply().deepBlacks;
  if (status != 0) {
    // What the display holds is what it held: nothing to compose with.
    deepBlacksOn_ = wasOn;
    deepBlacksDisplay_ = wasOnDisplay;
    deepBlacksCurve_ = wasCurve;
  }
  return status;
}

void TransferTables::clearDeepBlacks() {
  const std::lock_guard lock(mutex_);
  deepBlacksOn_ = false;
  deepBlacksDisplay_.reset();
  apply();
}

std::int32_t TransferTables::setBoost(platform::DisplayID display, float factor) {
  const std::lock_guard lock(mutex_);
  boostDisplay_ = display;
  boostFactor_ = factor;
  return apply().boost;
}

void TransferTables::clearBoost() {
  const std::lock_guard lock(mutex_);
  if (!boostDisplay_) return;
  boostDisplay_.reset();
  apply();
}

void TransferTables::abandonBoost() {
  const std::lock_guard lock(mutex_);
  if (!boostDisplay_) return;
  loadedOn_.erase(std::remove(loadedOn_.begin(), loadedOn_.end(), *boostDisplay_), loadedOn_.end());
  boostDisplay_.reset();
}

TransferTables::BoostCheck TransferTables::checkBoost() {
  const std::lock_guard lock(mutex_);
  if (!boostDisplay_ || exiting_) return BoostCheck::ours;
  const std::size_t count =
      displays_.readTransferTable(*boostDisplay_, readBack_.red, readBack_.green, readBack_.blue);
  if (count != tableSize) return BoostCheck::ours;
  const bool ours = nearlyEqual(readBack_.red, boostLoaded_.red) &&
                    nearlyEqual(readBack_.green, boostLoaded_.green) &&
                    nearlyEqual(readBack_.blue, boostLoaded_.blue);
  return ours ? BoostCheck::ours : BoostCheck::replaced;
}

void TransferTables::reloadBoost() {
  const std::lock_guard lock(mutex_);
  if (!boostDisplay_ || exiting_) return;
  displays_.setTransferTable(*boostDisplay_, boostLoaded_.red, boostLoaded_.green,
                             boostLoaded_.blue);
}

TransferTables::InForce TransferTables::tableInForce(platform::DisplayID display) {
  const std::lock_guard lock(mutex_);
  const ChannelTables read = readTables(display);
  const auto same = [&read](const ChannelTables& other) {
    return nearlyEqual(read.red, other.red) && nearlyEqual(read.green, other.green) &&
           nearlyEqual(read.blue, other.blue);
  };
  InForce inForce{.owner = InForce::Owner::anotherApp, .peak = peakOf(read)};
  if (contains(loadedOn_, display)) {
    ChannelTables loaded = boostLoaded_;
    if (display != boostDisplay_) loaded.red = loaded.green = loaded.blue = deepBlacksCurve_;
    if (same(loaded)) inForce.owner = InForce::Owner::app;
    return inForce;
  }
  ChannelTables calibration;
  calibration.red = calibration.green = calibration.blue = identity();
  for (const auto& [id, tables] : calibrations_) {
    if (id == display) calibration = tables;
  }
  if (same(calibration)) inForce.owner = InForce::Owner::none;
  return inForce;
}

void TransferTables::endForExit() {
  const std::lock_guard lock(mutex_);
  if (exiting_) return;
  if (boostDisplay_) {
    boostDisplay_.reset();
    apply();
  }
  exiting_ = true;
}

}  // namespace lumora
