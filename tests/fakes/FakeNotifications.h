#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "fakes/FakeWindows.h"
#include "platform/Notifications.h"

namespace lumora::testing {

class FakeNotificationCenter final : public platform::NotificationCenter {
 public:
  void addWindowWillCloseObserver(const platform::Window& window,
                                  std::function<void()> block) override {
    observers[&window].push_back(std::move(block));
  }

  // The user closes `window`: its observers run as it is about to close.
  // The window lives through its close, as on the platform, even when its owner lets it go.
  void closeWindow(FakeWindow& window) {
    const std::shared_ptr<FakeWindow> keepAlive = window.shared_from_this();
    const auto blocks = observers[&window];
    for (const auto& block : blocks)
      block();
    keepAlive->visible = false;
  }

  std::map<const platform::Window*, std::vector<std::function<void()>>> observers;
};

}  // namespace lumora::testing
