#include "display/XDRPause.h"

#include <cmath>

#include "display/Nits.h"

namespace lumora {
namespace {

bool isHot(platform::ThermalState state) {
  return state == platform::ThermalState::serious || state == platform::ThermalState::critical;
}

}  // namespace

XDRPause::XDRPause(XDRController& xdr, platform::UserDefaults& defaults, platform::Power& power,
                   platform::Timers& timers)
    : xdr_(xdr), defaults_(defaults), power_(power), timers_(timers) {}

XDRPause::~XDRPause() {
  // The calming timer calls back into this object.
  if (calming_) calming_->invalidate();
}

preferences::Key<bool> XDRPause::keyOf(Reason reason) {
  switch (reason) {
    case Reason::onBattery:
      return pauseOnBatteryKey;
    case Reason::batteryLow:
      return pauseOnLowBatteryKey;
    case Reason::hot:
      return pauseWhenHotKey;
  }
  return pauseWhenHotKey;
}

bool XDRPause::defaultOf(Reason reason) {
  return reason != Reason::onBattery;
}

bool XDRPause::isChosen(Reason reason) const {
  // A battery that is not there cannot pause anything.
  if (reason != Reason::hot && !state_.hasBattery) return false;
  return storedChoice(defaults_, reason);
}

void XDRPause::start(std::function<void()> changed) {
  changed_ = std::move(changed);
  state_ = power_.currentState();
  follow(state_);
  power_.observe([this] { powerChanged(); });
}

void XDRPause::applyAtLaunch(double level) {
  if (anyChosenInForce()) {
    paused_ = true;
    levelToRestore_ = level;
    return;
  }
  xdr_.setXDRBrightness(level);
}

void XDRPause::userChoseLevel() {
  paused_ = false;
}

std::optional<XDRPause::Reason> XDRPause::reason() const {
  if (!paused_) return std::nullopt;
  for (const Reason reason : allReasons) {
    if (inForce_[indexOf(reason)] && isChosen(reason)) return reason;
  }
  return std::nullopt;
}

void XDRPause::toggle(Reason reason) {
  const bool chosen = !preferences::readOr(defaults_, keyOf(reason), defaultOf(reason));
  preferences::write(defaults_, keyOf(reason), chosen);
  std::array<bool, 3> started{};
  // Choosing a condition that holds already is its start.
  started[indexOf(reason)] = chosen && inForce_[indexOf(reason)];
  decide(started);
}

void XDRPause::powerChanged() {
  const platform::PowerState now = power_.currentState();
  if (now == state_) return;
  const std::array<bool, 3> before = inForce_;
  // A battery that came or went enables or disables its entries.
  const bool batteryChanged = now.hasBattery != state_.hasBattery;
  state_ = now;
  follow(now);
  std::array<bool, 3> started{};
  for (std::size_t i = 0; i < started.size(); ++i)
    started[i] = inForce_[i] && !before[i];
  if ((decide(started) || batteryChanged) && changed_) changed_();
}

void XDRPause::follow(const platform::PowerState& state) {
  inForce_[indexOf(Reason::onBattery)] = state.hasBattery && state.onBattery;
  bool& low = inForce_[indexOf(Reason::batteryLow)];
  if (!state.hasBattery || !state.onBattery || state.batteryPercent >= recoveredBatteryPercent) {
    low = false;
  } else if (state.batteryPercent < lowBatteryPercent) {
    low = true;
  }
  bool& hot = inForce_[indexOf(Reason::hot)];
  if (isHot(state.thermalState)) {
    hot = true;
    if (calming_) calming_->invalidate();
    calming_.reset();
  } else if (hot && !calming_) {
    double seconds =
        preferences::readOr(defaults_, thermalCalmSecondsKey, defaultThermalCalmSeconds);
    if (!std::isfinite(seconds) || seconds < 0.0) seconds = defaultThermalCalmSeconds;
    // Calm for the whole time: a new hot spell on the way starts it again.
    calming_ = timers_.scheduledTimer(std::chrono::duration<double>(std::min(seconds, 3600.0)),
                                      false, [this] { heatCalmed(); });
  }
}

void XDRPause::heatCalmed() {
  calming_.reset();
  inForce_[indexOf(Reason::hot)] = false;
  if (decide({}) && changed_) changed_();
}

bool XDRPause::anyChosenInForce() const {
  for (const Reason reason : allReasons) {
    if (inForce_[indexOf(reason)] && isChosen(reason)) return true;
  }
  return false;
}

bool XDRPause::decide(const std::array<bool, 3>& started) {
  bool chosenStart = false;
  for (const Reason reason : allReasons) {
    if (started[indexOf(reason)] && isChosen(reason)) chosenStart = true;
  }
  if (chosenStart && !paused_ && xdr_.isXDREnabled()) {
    pause();
    return true;
  }
  if (paused_ && !anyChosenInForce()) {
    resume();
    return true;
  }
  // Paused already, a new reason is only named in the header.
  return paused_ && chosenStart;
}

void XDRPause::pause() {
  levelToRestore_ = xdr_.currentNits();
  xdr_.disableXDR();
  paused_ = true;
  const std::optional<Reason> why = reason();
  xdr_.trail().record(EventTrail::Event::paused, why ? describe(*why) : std::string_view());
}

std::string_view XDRPause::describe(Reason reason) {
  switch (reason) {
    case Reason::onBattery:
      return "on battery";
    case Reason::batteryLow:
      return "battery low";
    case Reason::hot:
      return "the Mac is hot";
  }
  return "";
}

void XDRPause::resume() {
  xdr_.trail().record(EventTrail::Event::resumed);
  paused_ = false;
  if (levelToRestore_ > sdrCeilingNits) xdr_.setXDRBrightness(levelToRestore_);
}

}  // namespace lumora
