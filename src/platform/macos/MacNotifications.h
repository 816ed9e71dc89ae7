#pragma once

#include "platform/Notifications.h"

namespace lumora::macos {

// NSNotificationCenter.defaultCenter, delivering on the main operation queue.
class MacNotificationCenter final : public platform::NotificationCenter {
 public:
  void addWindowWillCloseObserver(const platform::Window& window,
                                  std::function<void()> block) override;
};

}  // namespace lumora::macos
