#pragma once

#include <functional>
#include <map>
#include <vector>

#include "platform/Notifications.h"

namespace lumora::sim {

class SimWindow;

// Will-close observers, by window.
class SimNotificationCenter final : public platform::NotificationCenter {
 public:
  void addWindowWillCloseObserver(const platform::Window& window,
                                  std::function<void()> block) override;
  void postWindowWillClose(const SimWindow& window);

 private:
  // By window number: a later window at the same address is another window.
  std::map<int, std::vector<std::function<void()>>> observers_;
};

}  // namespace lumora::sim
