#pragma once

#include <functional>

#include "platform/Power.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// The simulated Mac's power and heat, kept in its displays' file. A change, made there by
// someone else or by the front ends, is told once at the end of the pass that sees it, as the
// system's notification would.
class SimPower final : public platform::Power {
 public:
  explicit SimPower(SimDisplayState& state) : state_(state) {}

  platform::PowerState currentState() override { return state_.power(); }
  void observe(std::function<void()> changed) override;

  // Looks for a change, once per pass of the run loop, after the displays' look at the file.
  void check();

 private:
  SimDisplayState& state_;
  std::function<void()> changed_;
  platform::PowerState told_;
};

}  // namespace lumora::sim
