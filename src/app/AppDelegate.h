#pragma once

#include <memory>
#include <string_view>

#include "app/PreferenceKeys.h"
#include "app/SharedControllers.h"
#include "platform/Platform.h"

namespace lumora {

// The application's one delegate: runs the launch sequence, keeps the status item fresh, owns
// the status item, the refresh timer, the updater controller and the settings window, and is the
// target of every menu action. It holds no display state: that is read back from the display and
// the preferences.
class AppDelegate final : public platform::ApplicationDelegate,
                          public std::enable_shared_from_this<AppDelegate> {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  // Timers and notifications hold the delegate weakly, so it is always shared-owned.
  static std::shared_ptr<AppDelegate> create(platform::Platform& platform,
                                             SharedControllers& controllers);
  AppDelegate(Passkey, platform::Platform& platform, SharedControllers& controllers);

  // Made and started on the first call; the same controller afterwards.
  platform::UpdaterController& updaterController();

  void applicationDidFinishLaunching() override;
  void updateMenuBarDisplay();
  void rebuildMenu();

  // The menu's actions.
  void setNits(const platform::MenuItemSender& sender);
  void toggleXDR();
  void toggleAutoEnable();
  void toggleLaunchAtLogin();
  void toggleSimpleIcon();
  void setDeepBlacksLevel(const platform::MenuItemSender& sender);
  void resetAllTweaks();
  void checkForUpdates();
  void openSettings();
  void quit();
  void applicationWillTerminate() override;

  bool respondsToMenuAction(std::string_view selector) const override;
  void performMenuAction(std::string_view selector,
                         const platform::MenuItemSender& sender) override;

  // Observers for the tests.
  platform::StatusItem* statusItem() const { return statusItem_.get(); }
  bool hasRefreshTimer() const { return refreshTimer_ != nullptr; }
  bool hasUpdaterController() const { return updaterController_ != nullptr; }
  platform::Window* settingsWindow() const { return settingsWindow_.get(); }

  static constexpr auto autoEnableKey = preferences::autoEnableXDR;
  static constexpr auto launchAtLoginKey = preferences::launchAtLogin;
  static constexpr auto lastNitsKey = preferences::lastNitsValue;
  static constexpr auto simpleIconKey = preferences::simpleIcon;

  static constexpr double refreshInterval = 1.0;  // seconds

 private:
  // The status item's refresh, then the menu's.
  void refresh();
  void toggleStoredFlag(preferences::Key<bool> key);

  platform::Platform& platform_;
  SharedControllers& controllers_;

  std::unique_ptr<platform::StatusItem> statusItem_;
  std::shared_ptr<platform::Timer> refreshTimer_;
  std::unique_ptr<platform::UpdaterController> updaterController_;
  std::shared_ptr<platform::Window> settingsWindow_;
};

}  // namespace lumora
