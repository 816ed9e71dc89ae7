#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/EventLog.h"
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

}  // namespace lumora::testing
