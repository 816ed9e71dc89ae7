#pragma once

#include "platform/SystemEvents.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// The simulated Mac's sleep, wake, display changes, Spaces and lock screen, as macOS has them:
// asleep and again at wake every display's calibration is restored; a display that resets its
// preset on wake comes back with preset 0; and a change of the displays or of the main screen in
// display.plist, made by someone else while the app runs, is a reconfiguration, after which the
// calibration is restored too. Locking and a Space change take EDR headroom away as the displays'
// compositor has it. The front ends put the Mac to sleep, wake, lock and unlock it and change
// Spaces.
class SimSystemEvents final : public platform::SystemEvents {
 public:
  explicit SimSystemEvents(SimDisplayState& state) : state_(state) {}

  void observe(platform::SystemEventHandlers handlers) override { handlers_ = std::move(handlers); }

  void sleep();
  void wake();
  bool isAsleep() const { return asleep_; }
  // The lock screen: while locked no display gives EDR headroom.
  void lock();
  void unlock();
  bool isLocked() const { return locked_; }
  // Another Space becomes the active one.
  void changeSpace();

  // Looks for a reconfiguration made from outside, once per pass of the run loop.
  void checkDisplays();

 private:
  static void post(const std::function<void()>& handler) {
    if (handler) handler();
  }

  SimDisplayState& state_;
  platform::SystemEventHandlers handlers_;
  bool asleep_ = false;
  bool locked_ = false;
};

}  // namespace lumora::sim
