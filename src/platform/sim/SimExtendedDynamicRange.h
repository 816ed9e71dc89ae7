#pragma once

#include <memory>

#include "platform/ExtendedDynamicRange.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// EDR headroom on the simulated Mac: the window is kept by the displays' state, whose compositor
// gives a display its headroom a moment after the window is drawn on it, and counts the draws.
class SimExtendedDynamicRange final : public platform::ExtendedDynamicRange {
 public:
  explicit SimExtendedDynamicRange(SimDisplayState& state) : state_(state) {}

  std::unique_ptr<platform::EDRWindow> showEDRWindow(platform::DisplayID display) override;
  double currentHeadroom(platform::DisplayID display) override {
    return state_.currentHeadroom(display);
  }
  double potentialHeadroom(platform::DisplayID display) override {
    const auto snapshot = state_.currentSnapshot();
    const SimDisplayState::DisplaySnapshot* found = snapshot->display(display);
    return found != nullptr ? found->maximumHeadroom : 1.0;
  }

 private:
  SimDisplayState& state_;
};

}  // namespace lumora::sim
