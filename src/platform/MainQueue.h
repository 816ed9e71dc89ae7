#pragma once

#include <functional>

namespace lumora::platform {

// The main dispatch queue: serial, on the main thread.
class MainQueue {
 public:
  virtual ~MainQueue() = default;

  // Runs `work` on the main thread after the current event has been handled.
  virtual void async(std::function<void()> work) = 0;

  // Runs `work` on the main thread on a later turn of the run loop, in its default mode (so not
  // while a menu is open), and not as a task of the queue: a modal alert it runs lets the queue's
  // work, such as the wake and display-change handling, go on meanwhile, which an alert run from
  // a task of the serial queue would hold up until it closes. From the main thread.
  virtual void performOnNextTurn(std::function<void()> work) = 0;
};

}  // namespace lumora::platform
