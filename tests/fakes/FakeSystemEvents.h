#pragma once

#include "platform/SystemEvents.h"

namespace lumora::testing {

// The Mac's sleep, wake, display changes, Spaces and lock screen, posted by the tests.
class FakeSystemEvents final : public platform::SystemEvents {
 public:
  void observe(platform::SystemEventHandlers newHandlers) override {
    handlers = std::move(newHandlers);
    ++observations;
  }

  void willSleep() { post(handlers.willSleep); }
  void didWake() { post(handlers.didWake); }
  void screensDidSleep() { post(handlers.screensDidSleep); }
  void screensDidWake() { post(handlers.screensDidWake); }
  void displaysReconfigured() { post(handlers.displaysReconfigured); }
  void activeSpaceChanged() { post(handlers.activeSpaceChanged); }
  void screenLocked() { post(handlers.screenLocked); }
  void screenUnlocked() { post(handlers.screenUnlocked); }

  platform::SystemEventHandlers handlers;
  int observations = 0;

 private:
  static void post(const std::function<void()>& handler) {
    if (handler) handler();
  }
};

}  // namespace lumora::testing
