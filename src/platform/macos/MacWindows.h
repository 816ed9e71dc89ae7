#pragma once

#import <AppKit/AppKit.h>

#include <vector>

#include "platform/Windows.h"

@class LMVDelegateBridge;

namespace lumora::macos {

class MacWindow final : public platform::Window {
 public:
  // The window's buttons send their actions to `target`.
  MacWindow(NSWindow *window, LMVDelegateBridge *target) : window_(window), target_(target) {}
  // Removes the observers at once, and releases the window after the current event: the last
  // owner may be letting go from inside the window's own -close.
  ~MacWindow() override;

  void setTitle(const std::string &title) override;
  void center() override;
  void setReleasedWhenClosed(bool released) override;
  platform::Rect contentViewBounds() const override;
  void setContentView(const platform::View &view) override;
  void makeKeyAndOrderFront() override;
  bool isVisible() const override;

  NSWindow *window() const { return window_; }
  void keepObserver(id<NSObject> token) const { observers_.push_back(token); }

 private:
  NSWindow *window_;
  // The application keeps the bridge.
  __weak LMVDelegateBridge *target_;
  mutable std::vector<id<NSObject>> observers_;
};

class MacWindows final : public platform::Windows {
 public:
  // The windows' buttons send their actions to `target` (the application's bridge).
  explicit MacWindows(LMVDelegateBridge *target) : target_(target) {}

  std::shared_ptr<platform::Window> makeWindow(const platform::Rect &contentRect,
                                               unsigned styleMask, platform::BackingStore backing,
                                               bool defer) override;

 private:
  __weak LMVDelegateBridge *target_;
};

}  // namespace lumora::macos
