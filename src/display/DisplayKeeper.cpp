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
  XDRController& xdr = controllers_.xdr();
  const double level = xdr.getPresetMaxNits();
  levelAtSleep_ = level > sdrCeilingNits ? std::optional(level) : std::nullopt;
  changesAtSleep_ = xdr.changeCount();
}

void DisplayKeeper::didWake() {
  reapplyDeepBlacks();
  if (!levelAtSleep_) return;
  if (settling_) settling_->invalidate();
  // The displays come back a moment after the Mac does.
  settling_ = timers_.scheduledTimer(wakeSettleTime, false, [this] { restoreXDR(); });
}

void DisplayKeeper::screensDidWake() {
  reapplyDeepBlacks();
}

void DisplayKeeper::displaysReconfigured() {
  reapplyDeepBlacks();
}

void DisplayKeeper::reapplyDeepBlacks() {
  DeepBlacksController& deepBlacks = controllers_.deepBlacks();
  if (!deepBlacks.isEnabled()) return;
  deepBlacks.reapply();
  changed_();
}

void DisplayKeeper::restoreXDR() {
  const std::optional<double> level = levelAtSleep_;
  levelAtSleep_.reset();
  if (!level) return;
  XDRController& xdr = controllers_.xdr();
  // A level chosen since, or one the display kept, stays as it is.
  if (xdr.changeCount() != changesAtSleep_ || xdr.getPresetMaxNits() > sdrCeilingNits) return;
  xdr.setXDRBrightness(*level);
  changed_();
}

}  // namespace lumora
