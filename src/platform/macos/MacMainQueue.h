#pragma once

#include "platform/MainQueue.h"

namespace lumora::macos {

// The main dispatch queue; and a perform on the main run loop for work that must not be a task
// of that queue.
class MacMainQueue final : public platform::MainQueue {
 public:
  void async(std::function<void()> work) override;
  void performOnNextTurn(std::function<void()> work) override;
};

}  // namespace lumora::macos
