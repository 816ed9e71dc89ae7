#include "platform/sim/SimPower.h"

namespace lumora::sim {

void SimPower::observe(std::function<void()> changed) {
  changed_ = std::move(changed);
  told_ = state_.power();
}

void SimPower::check() {
  // The power state is in the file: while the file stays as it is, so does the state.
  if (!changed_ || !state_.changedAtLastLook()) return;
  const platform::PowerState now = state_.power();
  if (now == told_) return;
  told_ = now;
  changed_();
}

}  // namespace lumora::sim
