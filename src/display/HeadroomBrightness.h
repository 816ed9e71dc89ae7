#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "display/TransferTables.h"
#include "platform/Activities.h"
#include "platform/ExtendedDynamicRange.h"
#include "platform/Timers.h"

namespace lumora {

// The headroom method of raising a display above its SDR ceiling, for releases of macOS that
// refuse raised presets: a tiny window of HDR content makes macOS give the display EDR headroom,
// and a gamma table with values above 1.0, up to that headroom, then shows ordinary content
// brighter. The level is held here, since the display's presets do not carry it. Main thread
// only, but for endForExit.
class HeadroomBrightness {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // What the caller hears of, as it happens: each changes what the display gives.
  enum class Outcome {
    arrived,      // the headroom came and the table is loaded
    unavailable,  // none came within the wait: back at SDR
    stopped,      // another app keeps replacing the table: given up to it
  };

  // Headroom above this counts as given.
  static constexpr double headroomNeeded = 1.05;
  static constexpr std::chrono::duration<double> waitLimit{3.0};
  static constexpr std::chrono::duration<double> pollInterval{0.1};
  // This many tables of other apps within the window stop the boost.
  static constexpr std::size_t replacementsToStop = 3;
  static constexpr std::chrono::duration<double> replacementWindow{60.0};

  HeadroomBrightness(platform::ExtendedDynamicRange& edr, platform::Timers& timers,
                     platform::Activities& activities, TransferTables& tables, Clock clock,
                     std::function<void(Outcome)> outcome);
  HeadroomBrightness(const HeadroomBrightness&) = delete;
  HeadroomBrightness& operator=(const HeadroomBrightness&) = delete;
  ~HeadroomBrightness();

  // Raises `display` to `nits` (above the SDR ceiling): at once when the display has headroom
  // already, otherwise once it comes.
  void raise(platform::DisplayID display, double nits);
  // The window down and the base table back.
  void lower();
  // Asks for headroom again and loads the table again when it comes, on `display` as it is now:
  // for after macOS restored the calibration (wake, a display change).
  void reassert(platform::DisplayID display);
  // On each refresh: the table follows the headroom, and comes back when another app replaced
  // it. Allocates nothing when nothing changed. Returns true when what the display gives
  // changed.
  bool keep();
  // For a process that is ending: the base table back, from any thread.
  void endForExit() { tables_.endForExit(); }

  // The level held, also while waiting for headroom; none when off.
  std::optional<double> level() const { return level_; }
  // What the display gives once the headroom came: the level, or less where the headroom caps it.
  std::optional<double> givenNits() const;

 private:
  void waitForHeadroom();
  void poll();
  void stopWaiting();
  void applyFactor(double headroom);
  float factorFor(double headroom) const;
  bool tooManyReplacements();

  platform::ExtendedDynamicRange& edr_;
  platform::Timers& timers_;
  platform::Activities& activities_;
  TransferTables& tables_;
  Clock clock_;
  std::function<void(Outcome)> outcome_;

  std::optional<double> level_;
  platform::DisplayID display_ = 0;
  std::unique_ptr<platform::EDRWindow> window_;
  std::shared_ptr<platform::Timer> waiting_;
  // Held while waiting: the user waits on it, and the system is not to slow the polling down.
  std::unique_ptr<platform::Activity> waitingActivity_;
  std::chrono::steady_clock::time_point deadline_{};
  // The factor loaded, once the headroom came.
  std::optional<float> factor_;
  // When other apps' tables were last found, oldest first.
  std::array<std::chrono::steady_clock::time_point, replacementsToStop> replacements_{};
  std::size_t replacementCount_ = 0;
};

}  // namespace lumora
