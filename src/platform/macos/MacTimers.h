#pragma once

#include "platform/Timers.h"

namespace lumora::macos {

// NSTimer in the main run loop's default mode.
class MacTimers final : public platform::Timers {
 public:
  std::shared_ptr<platform::Timer> scheduledTimer(std::chrono::duration<double> interval,
                                                  bool repeats,
                                                  std::function<void()> block) override;
};

}  // namespace lumora::macos
