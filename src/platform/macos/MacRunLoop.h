#pragma once

#include "platform/Alerts.h"
#include "platform/MainQueue.h"
#include "platform/Timers.h"

namespace lumora::macos {

// NSTimer in the main run loop's default mode.
class MacTimers final : public platform::Timers {
 public:
  std::shared_ptr<platform::Timer> scheduledTimer(std::chrono::duration<double> interval,
                                                  bool repeats,
                                                  std::function<void()> block) override;
};

// The main dispatch queue.
class MacMainQueue final : public platform::MainQueue {
 public:
  void async(std::function<void()> work) override;
};

// NSAlert, run modally.
class MacAlerts final : public platform::Alerts {
 public:
  int runModal(const platform::Alert& alert) override;
};

}  // namespace lumora::macos
