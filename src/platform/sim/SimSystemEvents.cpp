#include "platform/sim/SimSystemEvents.h"

namespace lumora::sim {

void SimSystemEvents::sleep() {
  if (asleep_) return;
  // The app hears of it first; then the displays go dark, and their tables with them.
  post(handlers_.willSleep);
  post(handlers_.screensDidSleep);
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

void SimSystemEvents::lock() {
  if (locked_) return;
  locked_ = true;
  state_.setLocked(true);
  post(handlers_.screenLocked);
}

void SimSystemEvents::unlock() {
  if (!locked_) return;
  locked_ = false;
  state_.setLocked(false);
  post(handlers_.screenUnlocked);
}

void SimSystemEvents::changeSpace() {
  state_.changeSpace();
  post(handlers_.activeSpaceChanged);
}

void SimSystemEvents::checkDisplays() {
  if (!state_.takeReconfiguration()) return;
  state_.restoreCalibration();
  post(handlers_.displaysReconfigured);
}

}  // namespace lumora::sim
