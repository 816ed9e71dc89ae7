#include "platform/sim/SimSystemEvents.h"

namespace lumora::sim {

void SimSystemEvents::sleep() {
  if (asleep_) return;
  // The app hears of it first; then the displays go dark, and their tables with them.
  post(handlers_.willSleep);
  asleep_ = true;
  state_.setAsleep(true);
  state_.restoreCalibration();
}

void SimSystemEvents::wake() {
  if (!asleep_) return;
  asleep_ = false;
  state_.setAsleep(false);
  state_.restoreCalibration();
  state_.resetPresetsOnWake();
  post(handlers_.didWake);
  post(handlers_.screensDidWake);
}

void SimSystemEvents::checkDisplays() {
  if (!state_.takeReconfiguration()) return;
  state_.restoreCalibration();
  post(handlers_.displaysReconfigured);
}

}  // namespace lumora::sim
