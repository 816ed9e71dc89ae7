#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EventLog.h"
#include "platform/LoginItems.h"
#include "platform/Notifications.h"
#include "platform/Windows.h"

namespace lumora::testing {

class FakeWindow final : public platform::Window, public std::enable_shared_from_this<FakeWindow> {
 public:
  FakeWindow(EventLog& log, platform::Rect rect, unsigned style, platform::BackingStore store,
             bool deferred)
      : log_(log), contentRect(rect), styleMask(style), backing(store), defer(deferred) {}

  void setTitle(const std::string& newTitle) override { title = newTitle; }
  void center() override { ++centerings; }
  void setReleasedWhenClosed(bool released) override { releasedWhenClosed = released; }
  platform::Rect contentViewBounds() const override {
    return {0, 0, contentRect.width, contentRect.height};
  }
  void setContentView(const platform::View& view) override { contentView = view; }
  void makeKeyAndOrderFront() override {
    visible = true;
    ++broughtToFront;
    log_.add("window.makeKeyAndOrderFront");
  }
  bool isVisible() const override { return visible; }

  EventLog& log_;
  platform::Rect contentRect;
  unsigned styleMask;
  platform::BackingStore backing;
  bool defer;
  std::string title;
  int centerings = 0;
  bool releasedWhenClosed = true;
  std::optional<platform::View> contentView;
  bool visible = false;
  int broughtToFront = 0;
};

class FakeWindows final : public platform::Windows {
 public:
  explicit FakeWindows(EventLog& log) : log_(log) {}

  std::shared_ptr<platform::Window> makeWindow(const platform::Rect& contentRect,
                                               unsigned styleMask, platform::BackingStore backing,
                                               bool defer) override {
    log_.add("windows.makeWindow");
    auto window = std::make_shared<FakeWindow>(log_, contentRect, styleMask, backing, defer);
    made.push_back(window);
    return window;
  }

  // Every window made, held weakly: the app owns them.
  std::vector<std::weak_ptr<FakeWindow>> made;

 private:
  EventLog& log_;
};

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

class FakeLoginItems final : public platform::LoginItems {
 public:
  explicit FakeLoginItems(EventLog& log) : log_(log) {}

  std::optional<std::string> registerMainApp() override {
    log_.add("loginItems.register");
    if (!registerError) registered = true;
    return registerError;
  }
  std::optional<std::string> unregisterMainApp() override {
    log_.add("loginItems.unregister");
    if (!unregisterError) registered = false;
    return unregisterError;
  }

  bool registered = false;
  std::optional<std::string> registerError;
  std::optional<std::string> unregisterError;

 private:
  EventLog& log_;
};

}  // namespace lumora::testing
