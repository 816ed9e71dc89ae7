#pragma once

#include <functional>

namespace lumora::platform {

// What happens to the Mac under the app: sleep and wake (NSWorkspace's will-sleep, did-wake,
// screens-did-sleep and screens-did-wake notifications), changes of the displays (a display added
// or removed, the main display or the lid changed: CGDisplayRegisterReconfigurationCallback, once
// the change has finished), a change of the active Space (NSWorkspace's
// active-space-did-change), and the lock screen (the distributed notifications
// "com.apple.screenIsLocked" and "com.apple.screenIsUnlocked"). After sleep, wake and display
// changes macOS has restored every display's colour calibration; any of them, and a Space change
// or the lock screen, may let a display out of extended dynamic range.
// Each is empty unless given, so that a caller names only those it listens for.
struct SystemEventHandlers {
  std::function<void()> willSleep{};
  std::function<void()> didWake{};
  std::function<void()> screensDidSleep{};
  std::function<void()> screensDidWake{};
  std::function<void()> displaysReconfigured{};
  std::function<void()> activeSpaceChanged{};
  std::function<void()> screenLocked{};
  std::function<void()> screenUnlocked{};
};

class SystemEvents {
 public:
  virtual ~SystemEvents() = default;

  // From now on each event calls its handler on the main thread; an empty handler is skipped.
  // A later call replaces the handlers.
  virtual void observe(SystemEventHandlers handlers) = 0;
};

}  // namespace lumora::platform
