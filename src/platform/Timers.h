#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace lumora::platform {

// A timer on the main run loop (NSTimer). The run loop keeps it until it is invalidated.
class Timer {
 public:
  virtual ~Timer() = default;

  virtual void invalidate() = 0;
  virtual bool isValid() const = 0;
};

class Timers {
 public:
  virtual ~Timers() = default;

  // scheduledTimerWithTimeInterval:repeats:block: in the main run loop's default mode: the block
  // runs on the main thread, and not while a menu is open or a modal alert runs.
  virtual std::shared_ptr<Timer> scheduledTimer(std::chrono::duration<double> interval,
                                                bool repeats, std::function<void()> block) = 0;
};

}  // namespace lumora::platform
