#pragma once

#include "platform/MainQueue.h"
#include "platform/sim/EventLoop.h"

namespace lumora::sim {

// The main queue of the simulated Mac's run loop.
class SimMainQueue final : public platform::MainQueue {
 public:
  explicit SimMainQueue(EventLoop& loop) : loop_(loop) {}

  void async(std::function<void()> work) override { loop_.async(std::move(work)); }
  // As a zero-interval timer does on a Mac: in the default mode, outside the queue.
  void performOnNextTurn(std::function<void()> work) override {
    loop_.scheduledTimer(std::chrono::duration<double>(0.0), false, std::move(work));
  }

 private:
  EventLoop& loop_;
};

}  // namespace lumora::sim
