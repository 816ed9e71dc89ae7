#include "display/HeadroomBrightness.h"

#include <algorithm>
#include <cmath>

#include "display/Nits.h"

namespace lumora {

HeadroomBrightness::HeadroomBrightness(platform::ExtendedDynamicRange& edr,
                                       platform::Timers& timers, platform::Activities& activities,
                                       TransferTables& tables, EventTrail& trail, Clock clock,
                                       std::function<platform::DisplayID()> targetDisplay,
                                       std::function<void(Outcome, Cause)> outcome)
    : edr_(edr),
      timers_(timers),
      activities_(activities),
      tables_(tables),
      trail_(trail),
      clock_(std::move(clock)),
      targetDisplay_(std::move(targetDisplay)),
      outcome_(std::move(outcome)) {}

HeadroomBrightness::~HeadroomBrightness() {
  // The waiting timer calls back into this object.
  stopWaiting();
}

std::chrono::steady_clock::time_point HeadroomBrightness::after(Seconds delay) const {
  return clock_() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(delay);
}

bool HeadroomBrightness::settling() const {
  return settledAt_ && clock_() < *settledAt_;
}

void HeadroomBrightness::raise(double nits) {
  level_ = nits;
  // A level picked is a fresh start after the boost was given up to another app.
  replacementCount_ = 0;
  askAgainAtOnce();
  // Nothing would come now: asked for once the Mac is back.
  if (expectsNoHeadroom() || settling()) {
    askDue_ = true;
    return;
  }
  if (factor_ && !wait_ && window_ && display_ == targetDisplay_()) {
    const double headroom = edr_.currentHeadroom(display_);
    if (headroom > headroomNeeded) {
      follow(headroom);
      return;
    }
  }
  ask(true);
}

void HeadroomBrightness::lower() {
  stopWaiting();
  window_.reset();
  level_.reset();
  factor_.reset();
  askDue_ = false;
  nextAsk_.reset();
  tables_.clearBoost();
}

bool HeadroomBrightness::notice(SystemChange change) {
  const std::optional<float> before = factor_;
  const std::optional<double> levelBefore = level_;
  react(change);
  return factor_ != before || level_ != levelBefore;
}

void HeadroomBrightness::react(SystemChange change) {
  switch (change) {
    case SystemChange::willSleep:
      asleep_ = true;
      return quiet();
    case SystemChange::screensDidSleep:
      screensAsleep_ = true;
      return quiet();
    case SystemChange::screenLocked:
      locked_ = true;
      return quiet();
    case SystemChange::didWake:
      asleep_ = false;
      return settle();
    case SystemChange::screensDidWake:
      screensAsleep_ = false;
      return settle();
    case SystemChange::screenUnlocked:
      locked_ = false;
      return settle();
    case SystemChange::displaysReconfigured:
      // The screens may have moved: the window is placed anew when headroom is asked for.
      window_.reset();
      return settle();
    case SystemChange::activeSpaceChanged:
      if (!level_ || expectsNoHeadroom() || settling()) return;
      // The compositor may have let go of the window on the Space left behind.
      draw();
      if (!wait_) startWait(false);
      return;
  }
}

// No headroom is to be expected: the table comes down now, and nothing is asked meanwhile.
void HeadroomBrightness::quiet() {
  stopWaiting();
  if (factor_) boostDown();
}

// The displays are coming back: the table down first, headroom asked for once they have settled.
void HeadroomBrightness::settle() {
  quiet();
  settledAt_ = after(settleTime);
  askDue_ = level_.has_value();
  askAgainAtOnce();
}

void HeadroomBrightness::draw() {
  const platform::DisplayID target = targetDisplay_();
  if (window_ && display_ == target) {
    window_->redraw();
    return;
  }
  // The window on the display as it is now; the old one first, so that two never show.
  window_.reset();
  if (factor_) boostDown();
  display_ = target;
  window_ = edr_.showEDRWindow(target);
}

void HeadroomBrightness::ask(bool requested) {
  if (wait_ && display_ == targetDisplay_()) {
    // One wait serves both; a request gets the whole wait.
    if (requested && !wait_->requested) {
      wait_->requested = true;
      wait_->deadline = after(waitLimit);
      wait_->activity = activities_.begin(waitingActivityReason);
    }
    return;
  }
  stopWaiting();
  draw();
  startWait(requested);
}

void HeadroomBrightness::startWait(bool requested) {
  if (!window_) {
    if (requested) return giveUp(Cause::noScreen);
    return scheduleRetry();
  }
  trail_.record(EventTrail::Event::headroomAsked, requested ? 1.0 : 0.0);
  wait_ = Wait{.timer = timers_.scheduledTimer(pollInterval, true, [this] { poll(); }),
               .deadline = after(waitLimit),
               .requested = requested,
               .askedAt = clock_(),
               .activity = requested ? activities_.begin(waitingActivityReason) : nullptr};
  // The display may have headroom already, from another app's HDR content.
  poll();
}

void HeadroomBrightness::poll() {
  if (!wait_) return;
  const double headroom = edr_.currentHeadroom(display_);
  if (headroom > headroomNeeded) {
    trail_.record(EventTrail::Event::headroomArrived, headroom,
                  std::chrono::duration<double>(clock_() - wait_->askedAt).count());
  }
  const bool changed = follow(headroom);
  if (!level_) return;  // the table could not be loaded: given up
  const bool requested = wait_->requested;
  if (headroom > headroomNeeded) {
    stopWaiting();
    askAgainAtOnce();
    return outcome_(Outcome::givenChanged, Cause::none);
  }
  if (clock_() < wait_->deadline) {
    if (changed) outcome_(Outcome::givenChanged, Cause::none);
    return;
  }
  stopWaiting();
  if (requested) return giveUp(Cause::noHeadroom);
  scheduleRetry();
  if (changed) outcome_(Outcome::givenChanged, Cause::none);
}

void HeadroomBrightness::stopWaiting() {
  if (!wait_) return;
  wait_->timer->invalidate();
  wait_.reset();
}

void HeadroomBrightness::askAgainAtOnce() {
  nextAsk_.reset();
  retryPause_ = firstRetryPause;
}

void HeadroomBrightness::scheduleRetry() {
  nextAsk_ = after(retryPause_);
  retryPause_ = std::min(retryPause_ * 2, longestRetryPause);
}

float HeadroomBrightness::factorFor(double headroom) const {
  const double wanted = level_.value_or(sdrCeilingNits) / sdrCeilingNits;
  return static_cast<float>(
      std::clamp(std::min(wanted, headroom), 1.0, xdrMaximumNits / sdrCeilingNits));
}

bool HeadroomBrightness::follow(double headroom) {
  if (headroom > headroomNeeded) {
    const float factor = factorFor(headroom);
    if (factor_ && std::fabs(factor - *factor_) <= 0.001f) return false;
    return load(factor);
  }
  if (!factor_) return false;
  trail_.record(EventTrail::Event::headroomLost, headroom);
  boostDown();
  return true;
}

void HeadroomBrightness::boostDown() {
  factor_.reset();
  tables_.clearBoost();
}

bool HeadroomBrightness::load(float factor) {
  if (tables_.setBoost(display_, factor) != 0) {
    // A table the display did not take raises nothing.
    giveUp(Cause::tableRefused);
    return true;
  }
  // A release that ignores boosted tables, or clamps them at 1.0, still says it took them.
  if (tables_.checkBoost() != TransferTables::BoostCheck::ours) {
    trail_.record(EventTrail::Event::tableNotApplied, static_cast<double>(factor));
    giveUp(Cause::tableNotApplied);
    return true;
  }
  trail_.update(EventTrail::Event::tableLoaded, static_cast<double>(factor));
  factor_ = factor;
  return true;
}

void HeadroomBrightness::giveUp(Cause cause) {
  trail_.record(EventTrail::Event::headroomGivenUp, describe(cause));
  stopWaiting();
  window_.reset();
  level_.reset();
  factor_.reset();
  askDue_ = false;
  nextAsk_.reset();
  tables_.clearBoost();
  outcome_(Outcome::unavailable, cause);
}

bool HeadroomBrightness::keep() {
  if (!level_ || wait_ || expectsNoHeadroom()) return false;
  if (settledAt_) {
    if (clock_() < *settledAt_) return false;
    settledAt_.reset();
  }
  const std::optional<float> before = factor_;
  if (askDue_) {
    askDue_ = false;
    ask(false);
    return factor_ != before || !level_;
  }
  const double headroom = edr_.currentHeadroom(display_);
  follow(headroom);
  if (!level_) return true;
  if (headroom <= headroomNeeded) {
    // macOS let the display out of EDR: asked for again at once, then less and less often.
    if (!nextAsk_ || clock_() >= *nextAsk_) ask(false);
    return factor_ != before || !level_;
  }
  askAgainAtOnce();
  if (factor_ != before) return true;
  if (tables_.checkBoost() == TransferTables::BoostCheck::ours) return false;
  trail_.record(EventTrail::Event::tableReplaced);
  if (!tooManyReplacements()) {
    tables_.reloadBoost();
    return false;
  }
  stopWaiting();
  window_.reset();
  level_.reset();
  factor_.reset();
  tables_.abandonBoost();
  trail_.record(EventTrail::Event::boostStopped);
  outcome_(Outcome::stopped, Cause::none);
  return true;
}

bool HeadroomBrightness::tooManyReplacements() {
  const std::chrono::steady_clock::time_point now = clock_();
  const auto window =
      std::chrono::duration_cast<std::chrono::steady_clock::duration>(replacementWindow);
  // Only the ones within the window count.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < replacementCount_; ++i) {
    if (now - replacements_[i] < window) replacements_[kept++] = replacements_[i];
  }
  replacementCount_ = kept;
  if (replacementCount_ == replacements_.size()) {
    std::rotate(replacements_.begin(), replacements_.begin() + 1, replacements_.end());
    --replacementCount_;
  }
  replacements_[replacementCount_++] = now;
  return replacementCount_ >= replacementsToStop;
}

std::string_view HeadroomBrightness::describe(Cause cause) {
  switch (cause) {
    case Cause::none:
      return "";
    case Cause::noHeadroom:
      return "no headroom came within the wait";
    case Cause::noScreen:
      return "the display has no screen for the EDR window";
    case Cause::tableRefused:
      return "the display did not take the table";
    case Cause::tableNotApplied:
      return "the table did not read back as loaded";
  }
  return "";
}

std::optional<double> HeadroomBrightness::givenNits() const {
  if (!level_) return std::nullopt;
  // The first wait after a request: nothing to tell yet.
  if (wait_ && wait_->requested && !factor_) return std::nullopt;
  return sdrCeilingNits * static_cast<double>(factor_.value_or(1.0f));
}

}  // namespace lumora
