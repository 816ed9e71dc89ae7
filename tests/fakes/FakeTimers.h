#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Timers.h"

namespace lumora::testing {

class FakeTimers final : public platform::Timers {
 public:
  struct FakeTimer final : platform::Timer {
    std::chrono::duration<double> interval{};
    bool repeats = false;
    bool valid = true;
    std::function<void()> block;
    void invalidate() override { valid = false; }
    bool isValid() const override { return valid; }
  };

  std::shared_ptr<platform::Timer> scheduledTimer(std::chrono::duration<double> interval,
                                                  bool repeats,
                                                  std::function<void()> block) override;
  // Fires every valid timer once.
  void fireAll();

  std::vector<std::shared_ptr<FakeTimer>> timers;
};

}  // namespace lumora::testing
