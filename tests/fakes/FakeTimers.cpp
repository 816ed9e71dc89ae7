#include "fakes/FakeTimers.h"

namespace lumora::testing {

std::shared_ptr<platform::Timer> FakeTimers::scheduledTimer(std::chrono::duration<double> interval,
                                                            bool repeats,
                                                            std::function<void()> block) {
  auto timer = std::make_shared<FakeTimer>();
  timer->interval = interval;
  timer->repeats = repeats;
  timer->block = std::move(block);
  timers.push_back(timer);
  return timer;
}

void FakeTimers::fireAll() {
  const auto current = timers;
  for (const auto& timer : current) {
    if (!timer->valid) continue;
    if (!timer->repeats) timer->valid = false;
    timer->block();
  }
}

}  // namespace lumora::testing
