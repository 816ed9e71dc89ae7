#pragma once

#include <functional>

#include "platform/Windows.h"

namespace lumora::platform {

// NSNotificationCenter.defaultCenter with the main operation queue.
class NotificationCenter {
 public:
  virtual ~NotificationCenter() = default;

  // Runs `block` on the main thread each time `window` is about to close
  // (NSWindowWillCloseNotification). The registration stays for the life of the window.
  virtual void addWindowWillCloseObserver(const Window& window, std::function<void()> block) = 0;
};

}  // namespace lumora::platform
