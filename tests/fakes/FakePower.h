#pragma once

#include <functional>

#include "platform/Power.h"

namespace lumora::testing {

// The power state as the tests set it; change() tells the app, as the system's notification
// does.
class FakePower final : public platform::Power {
 public:
  platform::PowerState currentState() override { return state; }
  void observe(std::function<void()> changed) override { observer = std::move(changed); }

  void change(const platform::PowerState& next) {
    state = next;
    if (observer) observer();
  }

  // A MacBook on its charger, cool, unless a test says otherwise.
  platform::PowerState state{.hasBattery = true,
                             .onBattery = false,
                             .batteryPercent = 100,
                             .thermalState = platform::ThermalState::nominal};
  std::function<void()> observer;
};

}  // namespace lumora::testing
