#pragma once

#include <functional>
#include <vector>

#include "fakes/EventLog.h"
#include "platform/MainQueue.h"

namespace lumora::testing {

class FakeMainQueue final : public platform::MainQueue {
 public:
  explicit FakeMainQueue(EventLog& log) : log_(log) {}

  void async(std::function<void()> work) override;
  // Kept with the queue's tasks, in order: a test runs both with drain and tells them apart by
  // the log ("mainQueue.async", "mainQueue.nextTurn").
  void performOnNextTurn(std::function<void()> work) override;
  // Runs the queued work, including work queued meanwhile; returns how many tasks ran.
  int drain();

  std::vector<std::function<void()>> pending;

 private:
  EventLog& log_;
};

}  // namespace lumora::testing
