#pragma once

#include <functional>
#include <memory>

#include "platform/Power.h"

namespace lumora::macos {

// The power sources (IOKit's power-source API, told through a run-loop source on the main run
// loop) and the thermal state (NSProcessInfo, whose notification may come on any thread and is
// taken to the main queue). Both fire often; the app hears only of a real change.
class MacPower final : public platform::Power {
 public:
  MacPower();
  MacPower(const MacPower&) = delete;
  MacPower& operator=(const MacPower&) = delete;
  ~MacPower() override;

  platform::PowerState currentState() override;
  void observe(std::function<void()> changed) override;

  struct Watch;

 private:
  std::shared_ptr<Watch> watch_;
};

}  // namespace lumora::macos
