#pragma once

#include "platform/SystemEvents.h"

namespace lumora::testing {

// The Mac's sleep, wake and display changes, posted by the tests.
class FakeSystemEvents final : public platform::SystemEvents {
 public:
  void observe(platform::SystemEventHandlers newHandlers) override {
    handlers = std::move(newHandlers);
    ++observations;
  }

  void willSleep() { post(handlers.willSleep); }
  void didWake() { post(handlers.didWake); }
  void screensDidWake() { post(handlers.screensDidWake); }
  void displaysReconfigured() { post(handlers.displaysReconfigured); }

  platform::SystemEventHandlers handlers;
  int observations = 0;

 private:
  static void post(const std::function<void()>& handler) {
    if (handler) handler();
  }
};

}  // namespace lumora::testing
