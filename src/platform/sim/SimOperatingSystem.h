#pragma once

#include "platform/OperatingSystem.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// The release of macOS the simulated Mac runs, as its displays' file names it.
class SimOperatingSystem final : public platform::OperatingSystem {
 public:
  explicit SimOperatingSystem(SimDisplayState& state) : state_(state) {}

  platform::OperatingSystemVersion version() override { return state_.systemVersion(); }

 private:
  SimDisplayState& state_;
};

}  // namespace lumora::sim
