#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "display/EventTrail.h"
#include "display/SystemChange.h"
#include "display/TransferTables.h"
#include "platform/Activities.h"
#include "platform/ExtendedDynamicRange.h"
#include "platform/Timers.h"

namespace lumora {

// The headroom method of raising a display above its SDR ceiling, for releases of macOS that
// refuse raised presets: a tiny window of HDR content makes macOS give the display EDR headroom,
// and a gamma table with values above 1.0, up to that headroom, then shows ordinary content
// brighter. The level is held here, since the display's presets do not carry it.
//
// The table never asks more of the display than the headroom it gives now: when the headroom
// falls (a Space switch, the lid, the lock screen), the table follows it down at once, and comes
// back up with it. Where no headroom is to be expected (the Mac or its screens asleep, the screen
// locked, the moments after they end) nothing is asked; once they are over, headroom is asked
// for again. Headroom lost while the Mac is awake is asked for again at once and then at widening
// intervals, quietly, for as long as the level is chosen. Main thread only, but for endForExit.
class HeadroomBrightness {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  using Seconds = std::chrono::duration<double>;

  // What the caller hears of, as it happens.
  enum class Outcome {
    givenChanged,  // what the display gives changed by itself: the headroom came, went or shrank
    unavailable,   // the boost cannot work: back at SDR, the level dropped (see Cause)
    stopped,       // another app keeps replacing the table: given up to it
  };
  // Why the boost cannot work.
  enum class Cause {
    none,
    noHeadroom,       // no headroom came within the wait, while awake, unlocked and settled
    noScreen,         // the display has no screen to show the EDR window on
    tableRefused,     // the display did not take the boosted table
    tableNotApplied,  // the table was taken but did not read back as loaded (ignored or clamped)
  };

  // The cause in a few words.
  static std::string_view describe(Cause cause);

  // What the system is told while the user waits on a request.
  static constexpr std::string_view waitingActivityReason = "Waiting for EDR headroom";

  // Headroom above this counts as given.
  static constexpr double headroomNeeded = 1.05;
  static constexpr Seconds waitLimit{3.0};
  static constexpr Seconds pollInterval{0.1};
  // How long after wake, screens wake, unlock or a display change no headroom is expected yet.
  static constexpr Seconds settleTime{2.0};
  // The pauses between asking again for headroom that was lost: doubling from the first, up to
  // the longest.
  static constexpr Seconds firstRetryPause{2.0};
  static constexpr Seconds longestRetryPause{60.0};
  // This many tables of other apps within the window stop the boost.
  static constexpr std::size_t replacementsToStop = 3;
  static constexpr Seconds replacementWindow{60.0};

  // `targetDisplay` names the display to act on as it is now, for asking again after the
  // displays changed.
  HeadroomBrightness(platform::ExtendedDynamicRange& edr, platform::Timers& timers,
                     platform::Activities& activities, TransferTables& tables, EventTrail& trail,
                     Clock clock, std::function<platform::DisplayID()> targetDisplay,
                     std::function<void(Outcome, Cause)> outcome);
  HeadroomBrightness(const HeadroomBrightness&) = delete;
  HeadroomBrightness& operator=(const HeadroomBrightness&) = delete;
  ~HeadroomBrightness();

  // Raises the target display to `nits` (above the SDR ceiling), the user's request: at once when
  // the display has headroom already, otherwise once it comes. When none comes within the wait,
  // the boost is unavailable.
  void raise(double nits);
  // The window down and the base table back.
  void lower();
  // Returns true when what the display gives changed.
  bool notice(SystemChange change);
  // On each refresh: the table follows the headroom, headroom lost is asked for again when due,
  // and the table comes back when another app replaced it. Allocates nothing when nothing
  // changed. Returns true when what the display gives changed.
  bool keep();
  // For a process that is ending: the base table back, from any thread.
  void endForExit() { tables_.endForExit(); }

  // The level held, also while waiting for headroom; none when off.
  std::optional<double> level() const { return level_; }
  // What the display gives: the level, or less where the headroom caps it, or the SDR ceiling
  // while the headroom is gone. None when off, and during the first wait after a request.
  std::optional<double> givenNits() const;
  // The display the EDR window is on; none while it is not shown.
  std::optional<platform::DisplayID> windowDisplay() const {
    return window_ ? std::optional(display_) : std::nullopt;
  }
  // The level is chosen, and the boost waits for headroom that went away.
  bool waitsForHeadroom() const { return level_ && !factor_ && !(wait_ && wait_->requested); }

 private:
  struct Wait {
    std::shared_ptr<platform::Timer> timer;
    std::chrono::steady_clock::time_point deadline;
    // Asked for by the user's request, not again after headroom went away.
    bool requested = false;
    std::chrono::steady_clock::time_point askedAt;
    // Held while the user waits on a request: the system is not to slow the polling down.
    std::unique_ptr<platform::Activity> activity;
  };

  void react(SystemChange change);
  bool expectsNoHeadroom() const { return asleep_ || screensAsleep_ || locked_; }
  bool settling() const;
  // Shows the window on the target display, or draws it again there.
  void draw();
  // Draws the window and waits for headroom, unless a wait on that display runs already.
  void ask(bool requested);
  void startWait(bool requested);
  void poll();
  void stopWaiting();
  // Headroom lost from now on is asked for again at once, then after the first pause.
  void askAgainAtOnce();
  void scheduleRetry();
  // The table for this headroom: the boost as far as it goes, or the base without any. Returns
  // true when the table changed.
  bool follow(double headroom);
  void boostDown();
  bool load(float factor);
  float factorFor(double headroom) const;
  void giveUp(Cause cause);
  void quiet();
  void settle();
  bool tooManyReplacements();
  std::chrono::steady_clock::time_point after(Seconds delay) const;

  platform::ExtendedDynamicRange& edr_;
  platform::Timers& timers_;
  platform::Activities& activities_;
  TransferTables& tables_;
  EventTrail& trail_;
  Clock clock_;
  std::function<platform::DisplayID()> targetDisplay_;
  std::function<void(Outcome, Cause)> outcome_;

  std::optional<double> level_;
  platform::DisplayID display_ = 0;
  std::unique_ptr<platform::EDRWindow> window_;
  std::optional<Wait> wait_;
  // The factor loaded, while the display gives headroom.
  std::optional<float> factor_;

  bool asleep_ = false;
  bool screensAsleep_ = false;
  bool locked_ = false;
  // Until then the displays are still coming back; headroom is asked for once it has passed.
  std::optional<std::chrono::steady_clock::time_point> settledAt_;
  // Headroom is to be asked for at the next refresh that may ask: after the displays came back.
  bool askDue_ = false;
  // When headroom lost is next asked for; none: at once.
  std::optional<std::chrono::steady_clock::time_point> nextAsk_;
  Seconds retryPause_ = firstRetryPause;

  // When other apps' tables were last found, oldest first.
  std::array<std::chrono::steady_clock::time_point, replacementsToStop> replacements_{};
  std::size_t replacementCount_ = 0;
};

}  // namespace lumora
