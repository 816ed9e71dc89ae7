#pragma once

#include <functional>

namespace lumora::platform {

// What happens to the Mac under the app: sleep and wake (NSWorkspace's will-sleep, did-wake and
// screens-did-wake notifications) and changes of the displays (a display added or removed, the
// main display or the lid changed: CGDisplayRegisterReconfigurationCallback, once the change has
// finished). After each of them macOS has restored every display's colour calibration.
struct SystemEventHandlers {
  std::function<void()> willSleep;
  std::function<void()> didWake;
  std::function<void()> screensDidWake;
  std::function<void()> displaysReconfigured;
};

class SystemEvents {
 public:
  virtual ~SystemEvents() = default;

  // From now on each event calls its handler on the main thread; an empty handler is skipped.
  // A later call replaces the handlers.
  virtual void observe(SystemEventHandlers handlers) = 0;
};

}  // namespace lumora::platform
