#pragma once

#include <memory>
#include <string_view>

#include "display/DisplayKeeper.h"
#include "display/SharedControllers.h"
#include "platform/Platform.h"
#include "ui/KeyboardShortcuts.h"
#include "ui/MenuActions.h"
#include "ui/RemoteControl.h"

namespace lumora {

// The application's one delegate: runs the launch sequence, keeps the status item fresh, owns
// the status item, the refresh timer, the updater controller, the menu's actions (with the
// settings window), the ways in without the menu (URLs and keyboard shortcuts) and what keeps the
// display right through sleep and display changes, and is the target of every menu action. It holds
// no display state: that is read back from the display and the preferences.
class AppDelegate final : public platform::ApplicationDelegate,
                          public ui::MenuActions::Owner,
                          public std::enable_shared_from_this<AppDelegate> {
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  // Timers and notifications hold the delegate weakly, so it is always shared-owned.
  static std::shared_ptr<AppDelegate> create(platform::Platform& platform,
                                             SharedControllers& controllers);
  AppDelegate(Passkey, platform::Platform& platform, SharedControllers& controllers);

  platform::UpdaterController& updaterController() override;
  void keyboardShortcutsToggled(bool on) override;
  void copyDiagnostics() override;
  std::string diagnosticReport() override;

  void applicationDidFinishLaunching() override;
  void applicationWillTerminate() override;
  void updateMenuBarDisplay();
  void rebuildMenu();

  bool respondsToMenuAction(std::string_view selector) const override;
  void performMenuAction(std::string_view selector,
                         const platform::MenuItemSender& sender) override;

  // Observers for the tests.
  platform::StatusItem* statusItem() const { return statusItem_.get(); }
  bool hasRefreshTimer() const { return refreshTimer_ != nullptr; }
  bool hasUpdaterController() const { return updaterController_ != nullptr; }
  platform::Window* settingsWindow() const { return menuActions_.settingsWindow(); }

  static constexpr double refreshInterval = 1.0;  // seconds

 private:
  // The status item's refresh, then the menu's.
  void refresh() override;
  // Once a second: the level kept true and the status item redrawn.
  void tick();
  // The status item for a level already read.
  void showStatus(double liveNits);

  platform::Platform& platform_;
  SharedControllers& controllers_;

  std::unique_ptr<platform::StatusItem> statusItem_;
  std::shared_ptr<platform::Timer> refreshTimer_;
  std::unique_ptr<platform::UpdaterController> updaterController_;
  ui::MenuActions menuActions_;
  ui::RemoteControl remoteControl_;
  ui::KeyboardShortcuts keyboardShortcuts_;
  DisplayKeeper displayKeeper_;
  bool copyFailureSaid_ = false;
};

}  // namespace lumora
