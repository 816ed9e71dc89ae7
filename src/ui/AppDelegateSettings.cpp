// The settings window: while it is open the application is a regular one, in the Dock.

#include "app/AppDelegate.h"
#include "ui/SettingsWindow.h"

namespace lumora {

void AppDelegate::openSettings() {
  platform::Application& application = platform_.application;
  application.setActivationPolicy(platform::ActivationPolicy::regular);
  application.activateIgnoringOtherApps(true);

  if (settingsWindow_ && settingsWindow_->isVisible()) {
    settingsWindow_->makeKeyAndOrderFront();
    return;
  }

  const std::shared_ptr<platform::Window> window = platform_.windows.makeWindow(
      ui::settingsContentRect, ui::settingsStyleMask, platform::BackingStore::buffered, false);
  window->setTitle(std::string(ui::settingsTitle));
  window->center();
  window->setReleasedWhenClosed(false);
  window->setContentView(ui::settingsContentView(window->contentViewBounds()));
  window->makeKeyAndOrderFront();
  settingsWindow_ = window;

  const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
  const platform::Window* const closing = window.get();  // compared, never used
  platform_.notificationCenter.addWindowWillCloseObserver(
      *window, [weakSelf, closing, &application] {
        const std::shared_ptr<AppDelegate> self = weakSelf.lock();
        // A window that was replaced by a newer one leaves the newer one, and the regular
        // policy it needs, alone.
        if (self && self->settingsWindow_ && self->settingsWindow_.get() != closing) return;
        application.setActivationPolicy(platform::ActivationPolicy::accessory);
        if (self) self->settingsWindow_.reset();
      });
}

}  // namespace lumora
