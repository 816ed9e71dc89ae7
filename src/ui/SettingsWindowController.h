#pragma once

#include <memory>

#include "platform/Platform.h"

namespace lumora::ui {

// The settings window while it is open: the application is a regular one, in the Dock, until the
// window closes.
class SettingsWindowController : public std::enable_shared_from_this<SettingsWindowController> {
 public:
  explicit SettingsWindowController(platform::Platform& platform) : platform_(platform) {}

  // Opens the window or brings it to the front.
  void open();

  // The window while it is open; null otherwise.
  platform::Window* window() const { return window_.get(); }

 private:
  platform::Platform& platform_;
  std::shared_ptr<platform::Window> window_;
};

}  // namespace lumora::ui
