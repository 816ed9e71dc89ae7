#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace lumora::ui {

// Lets through a few of the values a drag sends: at most one per interval, counted from the drag's
// first value, which is held back (a press sends the value already shown), and always the value
// that ends it. With a tenth of a second, a drag of a second applies ten values at most, its last
// included.
class DragThrottle {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  DragThrottle(Clock clock, std::chrono::steady_clock::duration interval)
      : clock_(std::move(clock)), interval_(interval) {}

  // Whether the value that came now is applied: a value that ends a drag (or was never part of
  // one) always is; one in the middle of a drag when the interval has passed since the drag began
  // or since its last value applied.
  bool admits(bool endsDrag);

 private:
  Clock clock_;
  std::chrono::steady_clock::duration interval_;
  // While a drag goes on: when it began, or when its last value was applied.
  std::optional<std::chrono::steady_clock::time_point> since_;
};

}  // namespace lumora::ui
