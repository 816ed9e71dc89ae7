#include "ui/SettingsWindowController.h"

#include <string>

#include "ui/SettingsWindow.h"

namespace lumora::ui {

void SettingsWindowController::open() {
  platform::Application& application = platform_.application;
  application.setActivationPolicy(platform::ActivationPolicy::regular);
  application.activateIgnoringOtherApps(true);

  if (window_ && window_->isVisible()) {
    window_->makeKeyAndOrderFront();
    return;
  }

  const std::shared_ptr<platform::Window> window = platform_.windows.makeWindow(
      settingsContentRect, settingsStyleMask, platform::BackingStore::buffered, false);
  window->setTitle(std::string(settingsTitle));
  window->center();
  window->setReleasedWhenClosed(false);
  window->setContentView(settingsContentView(window->contentViewBounds()));
  window->makeKeyAndOrderFront();
  window_ = window;

  const std::weak_ptr<SettingsWindowController> weakSelf = weak_from_this();
  const platform::Window* const closing = window.get();  // compared, never used
  platform_.notificationCenter.addWindowWillCloseObserver(
      *window, [weakSelf, closing, &application] {
        const std::shared_ptr<SettingsWindowController> self = weakSelf.lock();
        // A window that was replaced by a newer one leaves the newer one, and the regular
        // policy it needs, alone.
        if (self && self->window_ && self->window_.get() != closing) return;
        application.setActivationPolicy(platform::ActivationPolicy::accessory);
        if (self) self->window_.reset();
      });
}

}  // namespace lumora::ui
