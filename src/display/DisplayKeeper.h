#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "display/SharedControllers.h"
#include "display/SystemChange.h"
#include "platform/Timers.h"

namespace lumora {

// Keeps the display true to the user's choice while the Mac moves under the app. macOS restores
// every display's calibration after sleep, wake and display changes, which drops the Deep Blacks
// table and the headroom method's boost, and may drop the raised preset: the table is loaded
// again, headroom asked for again, and a dropped preset put back at the level it had. A Space
// change and the lock screen may take the headroom away: the headroom method hears of them too.
// Main thread only.
class DisplayKeeper {
 public:
  // How long the displays are given to come back after wake or a change before XDR is checked.
  static constexpr std::chrono::duration<double> wakeSettleTime{2.0};

  // `changed` runs after the display was changed, to show it.
  DisplayKeeper(SharedControllers& controllers, platform::Timers& timers,
                std::function<void()> changed);
  DisplayKeeper(const DisplayKeeper&) = delete;
  DisplayKeeper& operator=(const DisplayKeeper&) = delete;
  ~DisplayKeeper();

  void willSleep();
  void didWake();
  void screensDidSleep();
  void screensDidWake();
  void displaysReconfigured();
  void activeSpaceChanged();
  void screenLocked();
  void screenUnlocked();

 private:
  // The XDR controller hears of the change; the menu follows what the display gives.
  void notice(SystemChange change);
  void reapplyDeepBlacks();
  // A preset dropped meanwhile is put back once the displays have settled.
  void restoreXDRAfterSettling();
  void restoreXDR();

  SharedControllers& controllers_;
  platform::Timers& timers_;
  std::function<void()> changed_;
  // The XDR level to put back, none when XDR was off.
  std::optional<double> levelToRestore_;
  // The XDR controller's changes then: any since means someone chose another level.
  std::uint64_t changesThen_ = 0;
  bool asleep_ = false;
  std::shared_ptr<platform::Timer> settling_;
};

}  // namespace lumora
