#include "display/DisplayKeeper.h"

#include "display/Nits.h"

namespace lumora {

DisplayKeeper::DisplayKeeper(SharedControllers& controllers, platform::Timers& timers,
                             std::function<void()> changed)
    : controllers_(controllers), timers_(timers), changed_(std::move(changed)) {}

DisplayKeeper::~DisplayKeeper() {
  // The settling timer calls back into this object.
  if (settling_) settling_->invalidate();
}

void DisplayKeeper::willSleep() {
  // Little work here: the system waits for it before it sleeps.
  if (settling_) settling_->invalidate();
  asleep_ = true;
  XDRController& xdr = controllers_.xdr();
  notice(SystemChange::willSleep);
  xdr.watchForRemoval(false);
  const double level = xdr.currentNits();
  levelToRestore_ = level > sdrCeilingNits ? std::optional(level) : std::nullopt;
  changesThen_ = xdr.changeCount();
}

void DisplayKeeper::didWake() {
  asleep_ = false;
  XDRController& xdr = controllers_.xdr();
  // The boost down before Deep Blacks is loaded again, so that no table outruns the headroom.
  notice(SystemChange::didWake);
  reapplyDeepBlacks();
  if (xdr.method() == XDRController::Method::headroom) {
    // The level is held, not read from the display: only the headroom needs asking for again.
    levelToRestore_.reset();
    xdr.watchForRemoval(true);
    return;
  }
  restoreXDRAfterSettling();
}

void DisplayKeeper::screensDidSleep() {
  notice(SystemChange::screensDidSleep);
}

void DisplayKeeper::screensDidWake() {
  notice(SystemChange::screensDidWake);
  reapplyDeepBlacks();
}

void DisplayKeeper::activeSpaceChanged() {
  notice(SystemChange::activeSpaceChanged);
}

void DisplayKeeper::screenLocked() {
  notice(SystemChange::screenLocked);
}

void DisplayKeeper::screenUnlocked() {
  notice(SystemChange::screenUnlocked);
}

void DisplayKeeper::notice(SystemChange change) {
  controllers_.trail().record(EventTrail::Event::systemChanged, describe(change));
  if (controllers_.xdr().notice(change)) changed_();
}

void DisplayKeeper::displaysReconfigured() {
  XDRController& xdr = controllers_.xdr();
  notice(SystemChange::displaysReconfigured);
  reapplyDeepBlacks();
  if (xdr.method() == XDRController::Method::headroom) return;
  // Asleep, the wake puts the preset back; awake, a dropped one is put back the same way.
  if (asleep_ || settling_) return;
  levelToRestore_ = xdr.levelChosen();
  changesThen_ = xdr.changeCount();
  if (!levelToRestore_) return;
  xdr.watchForRemoval(false);
  restoreXDRAfterSettling();
}

void DisplayKeeper::reapplyDeepBlacks() {
  DeepBlacksController& deepBlacks = controllers_.deepBlacks();
  if (!deepBlacks.isEnabled()) return;
  deepBlacks.reapply();
  changed_();
}

void DisplayKeeper::restoreXDRAfterSettling() {
  if (settling_) settling_->invalidate();
  if (!levelToRestore_) {
    controllers_.xdr().watchForRemoval(true);
    return;
  }
  // The displays come back a moment after the Mac does.
  settling_ = timers_.scheduledTimer(wakeSettleTime, false, [this] { restoreXDR(); });
}

void DisplayKeeper::restoreXDR() {
  settling_.reset();
  const std::optional<double> level = levelToRestore_;
  levelToRestore_.reset();
  XDRController& xdr = controllers_.xdr();
  // A level chosen since, or one the display kept, stays as it is.
  if (level && xdr.changeCount() == changesThen_ && xdr.currentNits() <= sdrCeilingNits) {
    xdr.setXDRBrightness(*level);
    changed_();
  }
  xdr.watchForRemoval(true);
}

}  // namespace lumora
