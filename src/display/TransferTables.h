#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/Displays.h"

namespace lumora {

// The one owner of the gamma tables the app loads. Deep Blacks and the XDR boost share a table:
// on the display that has both, the Deep Blacks curve is multiplied by the boost; on a display
// with only the boost, the table the display had before the app first changed it is. Without a
// boost, Deep Blacks loads its curve exactly as it would alone, and turning it off hands every
// display back to its calibration.
//
// Thread-safe: the exit path takes the boost down from another thread, after which nothing is
// loaded any more.
class TransferTables {
 public:
  static constexpr std::size_t tableSize = 256;
  using Table = std::array<float, tableSize>;
  struct ChannelTables {
    Table red{};
    Table green{};
    Table blue{};
  };

  // A table that peaks above this holds a boost.
  static constexpr float sdrPeak = 1.0f;

  // Reads the table of `display` (the one XDR acts on) as its calibration. A boost left there by
  // an earlier run that ended without taking it down is removed first, so the app never starts
  // raised.
  TransferTables(platform::Displays& displays, platform::DisplayID display);
  TransferTables(const TransferTables&) = delete;
  TransferTables& operator=(const TransferTables&) = delete;

  // Deep Blacks: its curve on `display`; a display of none loads nothing, as there is nowhere to
  // load it. Returns the CGError of the load; when the display did not take it, Deep Blacks
  // stays as it was.
  std::int32_t setDeepBlacks(std::optional<platform::DisplayID> display, const Table& curve);
  void clearDeepBlacks();

  // The boost: the base of `display` multiplied by `factor`. Returns the CGError of the load.
  std::int32_t setBoost(platform::DisplayID display, float factor);
  // The base table again, as when the boost was never there.
  void clearBoost();
  // The boost given up to a table that another app loaded: nothing is loaded over it.
  void abandonBoost();

  enum class BoostCheck { ours, replaced };
  // Whether the table in force on the boosted display is the one loaded; allocates nothing. A
  // table that cannot be read is taken to be ours.
  BoostCheck checkBoost();
  // Loads the boosted table again, after another app replaced it.
  void reloadBoost();

  // Who loaded the table in force on `display`, and its peak: for a report.
  struct InForce {
    enum class Owner { none, app, anotherApp };
    Owner owner = Owner::none;  // none: the calibration, as before the app changed anything
    float peak = 1.0f;
  };
  InForce tableInForce(platform::DisplayID display);

  // For a process that is ending: the boost taken down (the base loaded), and nothing loaded
  // after.
  void endForExit();

  // The composed table of a base and a factor, in single precision.
  static Table multiplied(const Table& base, float factor);
  // A table of `count` entries read from the display, as 256 entries; the identity when there
  // are too few to stand for a curve.
  static Table resampled(std::span<const float> entries);

 private:
  struct Load {
    platform::DisplayID display;
    ChannelTables tables;
  };

  // The CGErrors of the loads on the boosted display and on the Deep Blacks display.
  struct Applied {
    std::int32_t boost = 0;
    std::int32_t deepBlacks = 0;
  };
  // Loads what the state asks for, handing a display the app no longer changes back to its
  // calibration.
  Applied apply();
  std::vector<Load> wantedLoads();
  const ChannelTables& calibrationOf(platform::DisplayID display);
  ChannelTables readTables(platform::DisplayID display);
  std::int32_t load(const Load& load);

  platform::Displays& displays_;
  std::mutex mutex_;
  bool exiting_ = false;

  bool deepBlacksOn_ = false;
  std::optional<platform::DisplayID> deepBlacksDisplay_;
  Table deepBlacksCurve_{};

  std::optional<platform::DisplayID> boostDisplay_;
  float boostFactor_ = 1.0f;
  // What was loaded on the boosted display, to tell another app's table from it.
  ChannelTables boostLoaded_{};
  // Scratch space for reading the table back, so that a check allocates nothing.
  ChannelTables readBack_{};

  // The tables each display had before the app first changed it.
  std::vector<std::pair<platform::DisplayID, ChannelTables>> calibrations_;
  // The displays that hold a table of the app's.
  std::vector<platform::DisplayID> loadedOn_;
};

}  // namespace lumora
