#include "platform/sim/SimNotifications.h"

#include "platform/sim/SimWindows.h"

namespace lumora::sim {

void SimNotificationCenter::addWindowWillCloseObserver(const platform::Window& window,
                                                       std::function<void()> block) {
  const auto* simWindow = dynamic_cast<const SimWindow*>(&window);
  if (simWindow == nullptr) return;
  observers_[simWindow->number()].push_back(std::move(block));
}

void SimNotificationCenter::postWindowWillClose(const SimWindow& window) {
  const auto found = observers_.find(window.number());
  if (found == observers_.end()) return;
  // A copy: an observer may register more.
  const std::vector<std::function<void()>> blocks = found->second;
  for (const auto& block : blocks)
    block();
}

}  // namespace lumora::sim
