#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "display/SharedControllers.h"
#include "platform/Timers.h"

namespace lumora {

// Keeps the display true to the user's choice while the Mac moves under the app. macOS restores
// every display's calibration after sleep, wake and display changes, which drops the Deep Blacks
// table, and may drop the raised preset on wake: the table is loaded again, and XDR brought back
// at the level it had when the Mac went to sleep. Main thread only.
class DisplayKeeper {
 public:
  // How long the displays are given to come back after wake before XDR is checked.
  static constexpr std::chrono::duration<double> wakeSettleTime{2.0};

  // `changed` runs after the display was changed, to show it.
  DisplayKeeper(SharedControllers& controllers, platform::Timers& timers,
                std::function<void()> changed);
  DisplayKeeper(const DisplayKeeper&) = delete;
  DisplayKeeper& operator=(const DisplayKeeper&) = delete;
  ~DisplayKeeper();

  void willSleep();
  void didWake();
  void screensDidWake();
  void displaysReconfigured();

 private:
  void reapplyDeepBlacks();
  void restoreXDR();

  SharedControllers& controllers_;
  platform::Timers& timers_;
  std::function<void()> changed_;
  // The XDR level when the Mac went to sleep, none when XDR was off.
  std::optional<double> levelAtSleep_;
  // The XDR controller's changes then: any since means someone chose another level.
  std::uint64_t changesAtSleep_ = 0;
  std::shared_ptr<platform::Timer> settling_;
};

}  // namespace lumora
