#include "display/HeadroomBrightness.h"

#include <algorithm>
#include <cmath>

#include "display/Nits.h"

namespace lumora {

HeadroomBrightness::HeadroomBrightness(platform::ExtendedDynamicRange& edr,
                                       platform::Timers& timers, platform::Activities& activities,
                                       TransferTables& tables, Clock clock,
                                       std::function<void(Outcome)> outcome)
    : edr_(edr),
      timers_(timers),
      activities_(activities),
      tables_(tables),
      clock_(std::move(clock)),
      outcome_(std::move(outcome)) {}

HeadroomBrightness::~HeadroomBrightness() {
  // The waiting timer calls back into this object.
  stopWaiting();
}

void HeadroomBrightness::raise(platform::DisplayID display, double nits) {
  level_ = nits;
  // A level picked is a fresh start after the boost was given up to another app.
  replacementCount_ = 0;
  if (window_ && display_ == display && !waiting_ && factor_) {
    const double headroom = edr_.currentHeadroom(display);
    if (headroom > headroomNeeded) {
      applyFactor(headroom);
      return;
    }
  }
  reassert(display);
}

void HeadroomBrightness::lower() {
  stopWaiting();
  window_.reset();
  level_.reset();
  factor_.reset();
  tables_.clearBoost();
}

void HeadroomBrightness::reassert(platform::DisplayID display) {
  if (!level_) return;
  // Wake and screens wake come together: one wait serves both.
  if (waiting_ && display_ == display) return;
  stopWaiting();
  // The window on the display as it is now; the old one first, so that two never show.
  window_.reset();
  display_ = display;
  window_ = edr_.showEDRWindow(display);
  deadline_ = clock_() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(waitLimit);
  waitForHeadroom();
}

void HeadroomBrightness::waitForHeadroom() {
  waiting_ = timers_.scheduledTimer(pollInterval, true, [this] { poll(); });
  waitingActivity_ = activities_.begin("Waiting for EDR headroom");
  // The display may have headroom already, from another app's HDR content.
  poll();
}

void HeadroomBrightness::poll() {
  if (!waiting_) return;
  const double headroom = window_ ? edr_.currentHeadroom(display_) : 1.0;
  if (headroom > headroomNeeded) {
    stopWaiting();
    applyFactor(headroom);
    if (factor_) outcome_(Outcome::arrived);
    return;
  }
  if (window_ && clock_() < deadline_) return;
  stopWaiting();
  lower();
  outcome_(Outcome::unavailable);
}

void HeadroomBrightness::stopWaiting() {
  if (!waiting_) return;
  waiting_->invalidate();
  waiting_.reset();
  waitingActivity_.reset();
}

float HeadroomBrightness::factorFor(double headroom) const {
  const double wanted = level_.value_or(sdrCeilingNits) / sdrCeilingNits;
  return static_cast<float>(
      std::clamp(std::min(wanted, headroom), 1.0, xdrMaximumNits / sdrCeilingNits));
}

void HeadroomBrightness::applyFactor(double headroom) {
  const float factor = factorFor(headroom);
  if (tables_.setBoost(display_, factor) != 0) {
    // A table the display did not take raises nothing: back at SDR, as when no headroom came.
    lower();
    outcome_(Outcome::unavailable);
    return;
  }
  factor_ = factor;
}

bool HeadroomBrightness::keep() {
  if (!level_ || waiting_ || !factor_) return false;
  const double headroom = edr_.currentHeadroom(display_);
  if (headroom <= headroomNeeded) {
    // macOS let the display out of EDR: ask again.
    reassert(display_);
    return true;
  }
  if (std::fabs(factorFor(headroom) - *factor_) > 0.001f) {
    applyFactor(headroom);
    return true;
  }
  if (tables_.checkBoost() == TransferTables::BoostCheck::ours) return false;
  if (!tooManyReplacements()) {
    tables_.reloadBoost();
    return false;
  }
  stopWaiting();
  window_.reset();
  level_.reset();
  factor_.reset();
  tables_.abandonBoost();
  outcome_(Outcome::stopped);
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

std::optional<double> HeadroomBrightness::givenNits() const {
  if (!level_ || waiting_ || !factor_) return std::nullopt;
  return sdrCeilingNits * static_cast<double>(*factor_);
}

}  // namespace lumora
