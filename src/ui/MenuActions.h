#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "display/SharedControllers.h"
#include "platform/Platform.h"
#include "platform/PreferenceKey.h"
#include "ui/DragThrottle.h"
#include "ui/SettingsWindowController.h"

namespace lumora::ui {

// What the status menu's entries do. Every action that changes state ends with the owner's
// refresh: the status item, then the menu.
class MenuActions {
 public:
  // What the actions need of the application delegate that owns them.
  class Owner {
   public:
    virtual void refresh() = 0;
    // Made and started on the first call; the same controller afterwards.
    virtual platform::UpdaterController& updaterController() = 0;
    // The keyboard shortcuts were turned on or off: they are held, or given back.
    virtual void keyboardShortcutsToggled(bool on) = 0;
    // The diagnosis of this run onto the general pasteboard.
    virtual void copyDiagnostics() = 0;

   protected:
    ~Owner() = default;
  };

  // At launch, put the remembered XDR level back on the display.
  static constexpr preferences::Key<bool> autoEnableKey{"autoEnableXDR"};
  // The user's last launch-at-login choice; what the system does is the login item's status.
  static constexpr preferences::Key<bool> launchAtLoginKey{"launchAtLogin"};
  // The last XDR level above the SDR ceiling that the user applied; 0.0 means none.
  static constexpr preferences::Key<double> lastNitsKey{"lastNitsValue"};
  // Show the status item as a single character instead of a symbol.
  static constexpr preferences::Key<bool> simpleIconKey{"simpleIcon"};
  // While the slider is dragged, the display follows it at most ten times a second.
  static constexpr std::chrono::milliseconds sliderFollowInterval{100};

  MenuActions(platform::Platform& platform, SharedControllers& controllers, Owner& owner);
  MenuActions(const MenuActions&) = delete;
  MenuActions& operator=(const MenuActions&) = delete;

  // Whether an entry's selector names one of the actions below, and performing it.
  bool respondsTo(std::string_view selector) const;
  void perform(std::string_view selector, const platform::MenuItemSender& sender);

  void setNits(const platform::MenuItemSender& sender);
  // The brightness slider, its value in the sender: applied as a level is, but while it is
  // dragged only now and then, and remembered only where it is let go.
  void slideNits(const platform::MenuItemSender& sender);
  void toggleXDR();
  void toggleAutoEnable();
  void toggleLaunchAtLogin();
  void toggleSimpleIcon();
  void toggleShortcuts();
  void setDeepBlacksLevel(const platform::MenuItemSender& sender);
  void togglePauseOnBattery();
  void togglePauseOnLowBattery();
  void togglePauseWhenHot();
  void resetAllTweaks();
  void checkForUpdates();
  void openSettings();
  void copyDiagnostics();
  void quit();

  platform::Window* settingsWindow() const { return settings_->window(); }

 private:
  // A level picked by the user, paused or not: XDR at it above the SDR ceiling (stored as the
  // last level when `remember`), off at or below it.
  void applyLevel(double nits, bool remember);
  void toggleStoredFlag(preferences::Key<bool> key);
  void togglePause(XDRPause::Reason reason);
  // In an alert, on the next turn of the run loop: a line on standard output alone goes unseen.
  void reportLoginItemFailure(bool wasOn, const std::string& error);

  platform::Platform& platform_;
  SharedControllers& controllers_;
  Owner& owner_;
  // Shared, so that a window's will-close handler can hold it weakly.
  std::shared_ptr<SettingsWindowController> settings_;
  DragThrottle sliderThrottle_;
};

}  // namespace lumora::ui
