#pragma once

#include "platform/Timers.h"
#include "platform/sim/EventLoop.h"

namespace lumora::sim {

// Timers of the simulated Mac's run loop, in its default mode.
class SimTimers final : public platform::Timers {
 public:
  explicit SimTimers(EventLoop& loop) : loop_(loop) {}

  std::shared_ptr<platform::Timer> scheduledTimer(std::chrono::duration<double> interval,
                                                  bool repeats,
                                                  std::function<void()> block) override {
    return loop_.scheduledTimer(interval, repeats, std::move(block));
  }

 private:
  EventLoop& loop_;
};

}  // namespace lumora::sim
