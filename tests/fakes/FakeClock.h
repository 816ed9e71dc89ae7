#pragma once

#include <chrono>
#include <functional>

namespace lumora::testing {

// A steady clock that moves only when the test says.
class FakeClock {
 public:
  std::function<std::chrono::steady_clock::time_point()> function() {
    return [this] { return now_; };
  }
  void advance(std::chrono::duration<double> by) {
    now_ += std::chrono::duration_cast<std::chrono::steady_clock::duration>(by);
  }

 private:
  std::chrono::steady_clock::time_point now_{std::chrono::hours(1)};
};

}  // namespace lumora::testing
