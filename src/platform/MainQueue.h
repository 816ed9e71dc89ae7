#pragma once

#include <functional>

namespace lumora::platform {

// The main dispatch queue: serial, on the main thread.
class MainQueue {
 public:
  virtual ~MainQueue() = default;

  // Runs `work` on the main thread after the current event has been handled.
  virtual void async(std::function<void()> work) = 0;
};

}  // namespace lumora::platform
