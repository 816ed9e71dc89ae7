#pragma once

#include "platform/MainQueue.h"
#include "platform/sim/EventLoop.h"

namespace lumora::sim {

// The main queue of the simulated Mac's run loop.
class SimMainQueue final : public platform::MainQueue {
 public:
  explicit SimMainQueue(EventLoop& loop) : loop_(loop) {}

  void async(std::function<void()> work) override { loop_.async(std::move(work)); }
  void performOnNextTurn(std::function<void()> work) override {
    loop_.performInLaterPass(std::move(work));
  }

 private:
  EventLoop& loop_;
};

}  // namespace lumora::sim
