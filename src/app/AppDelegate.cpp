#include "app/AppDelegate.h"

#include <chrono>

#include "app/DiagnosticReport.h"
#include "display/Nits.h"
#include "ui/StatusItemAppearance.h"
#include "ui/StatusMenu.h"

namespace lumora {

using ui::MenuActions;

std::shared_ptr<AppDelegate> AppDelegate::create(platform::Platform& platform,
                                                 SharedControllers& controllers) {
  return std::make_shared<AppDelegate>(Passkey{}, platform, controllers);
}

AppDelegate::AppDelegate(Passkey, platform::Platform& platform, SharedControllers& controllers)
    : platform_(platform),
      controllers_(controllers),
      menuActions_(platform, controllers, *this),
      remoteControl_(menuActions_, controllers, platform.console),
      keyboardShortcuts_(
          platform.hotKeys, platform.userDefaults, platform.console,
          [this](const ui::RemoteCommand& command) { remoteControl_.perform(command); }),
      displayKeeper_(controllers, platform.timers, [this] { refresh(); }) {}

platform::UpdaterController& AppDelegate::updaterController() {
  if (!updaterController_) {
    updaterController_ = platform_.updaters.makeStandardUpdaterController(true);
  }
  return *updaterController_;
}

void AppDelegate::keyboardShortcutsToggled(bool on) {
  keyboardShortcuts_.follow(on);
}

std::string AppDelegate::diagnosticReport() {
  return lumora::diagnosticReport(platform_, controllers_);
}

void AppDelegate::copyDiagnostics() {
  const std::optional<std::string> failure = platform_.pasteboard.copyText(diagnosticReport());
  if (!failure) {
    copyFailureSaid_ = false;
    return;
  }
  if (copyFailureSaid_) return;
  copyFailureSaid_ = true;
  platform_.console.printErrorLine("Lumora Virir: the diagnosis could not be copied: " + *failure +
                                   ".");
}

void AppDelegate::applicationDidFinishLaunching() {
  statusItem_ = platform_.statusBar.statusItemWithLength(platform::variableStatusItemLength);

  const bool autoEnable = preferences::read(platform_.userDefaults, MenuActions::autoEnableKey);
  if (!autoEnable) controllers_.xdr().disableXDR();
  // Held before the first menu, which tells how many other apps hold.
  keyboardShortcuts_.follow(
      preferences::read(platform_.userDefaults, ui::KeyboardShortcuts::enabledKey));

  // Battery and heat pause XDR by themselves, and bring it back.
  const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
  controllers_.pause().start([weakSelf] {
    if (const std::shared_ptr<AppDelegate> self = weakSelf.lock()) self->refresh();
  });

  // The first refresh also makes the Deep Blacks controller, which restores a stored level.
  updateMenuBarDisplay();
  rebuildMenu();

  refreshTimer_ = platform_.timers.scheduledTimer(
      std::chrono::duration<double>(refreshInterval), true, [weakSelf] {
        if (const std::shared_ptr<AppDelegate> self = weakSelf.lock()) self->tick();
      });
  // The "Unavailable" alert's second button.
  controllers_.xdr().setDiagnosticsCopier([weakSelf] {
    if (const std::shared_ptr<AppDelegate> self = weakSelf.lock()) self->copyDiagnostics();
  });
  // Headroom that comes, fails to come or is taken over changes the display by itself.
  controllers_.xdr().setChangeHandler([weakSelf] {
    if (const std::shared_ptr<AppDelegate> self = weakSelf.lock()) self->refresh();
  });

  // The Mac's sleep, wake and display changes, each handled while the delegate lives.
  const auto forward = [weakSelf](void (DisplayKeeper::*event)()) {
    return [weakSelf, event] {
      if (const std::shared_ptr<AppDelegate> self = weakSelf.lock())
        (self->displayKeeper_.*event)();
    };
  };
  platform_.systemEvents.observe(platform::SystemEventHandlers{
      .willSleep = forward(&DisplayKeeper::willSleep),
      .didWake = forward(&DisplayKeeper::didWake),
      .screensDidSleep = forward(&DisplayKeeper::screensDidSleep),
      .screensDidWake = forward(&DisplayKeeper::screensDidWake),
      .displaysReconfigured = forward(&DisplayKeeper::displaysReconfigured),
      .activeSpaceChanged = forward(&DisplayKeeper::activeSpaceChanged),
      .screenLocked = forward(&DisplayKeeper::screenLocked),
      .screenUnlocked = forward(&DisplayKeeper::screenUnlocked),
  });

  // URLs that came with the launch follow on a later turn, after the level is put back.
  platform_.openedURLs.setHandler([weakSelf](std::string_view url) {
    const std::shared_ptr<AppDelegate> self = weakSelf.lock();
    if (!self) return platform::URLAnswer{.done = false, .text = "the app is quitting"};
    return self->remoteControl_.open(url);
  });

  if (!autoEnable) return;
  const double lastNits = preferences::read(platform_.userDefaults, MenuActions::lastNitsKey);
  if (!(lastNits > sdrCeilingNits)) return;
  XDRController& xdr = controllers_.xdr();
  // A display already in XDR keeps the level it has.
  if (xdr.isXDREnabled()) return;
  // On battery or hot, as the user chose, it starts paused instead.
  controllers_.pause().applyAtLaunch(lastNits);
  refresh();
}

void AppDelegate::tick() {
  // Outside changes of presets only show in the status item; a change of what the headroom
  // gives is shown in the menu too.
  const XDRController::Refresh refresh = controllers_.xdr().keep();
  showStatus(refresh.nits);
  if (refresh.givenChanged) rebuildMenu();
}

void AppDelegate::applicationWillTerminate() {
  controllers_.xdr().disableXDR();
}

void AppDelegate::updateMenuBarDisplay() {
  showStatus(controllers_.xdr().currentNits());
}

void AppDelegate::showStatus(double liveNits) {
  // The reading order matters: the first call is the one that makes the Deep Blacks controller,
  // and it must be made even when the status item has no button.
  const bool deepBlacksOn = controllers_.deepBlacks().isEnabled();
  platform::StatusButton* button = statusItem_ ? statusItem_->button() : nullptr;
  if (button == nullptr) return;
  const ui::StatusInputs inputs{
      .liveNits = liveNits,
      .deepBlacksOn = deepBlacksOn,
      .simpleIcon = preferences::read(platform_.userDefaults, MenuActions::simpleIconKey),
      .paused = controllers_.pause().isPaused(),
  };
  ui::applyStatusItemAppearance(ui::statusItemAppearance(inputs, platform_.symbolImages), *button);
}

void AppDelegate::rebuildMenu() {
  if (!statusItem_) return;
  XDRController& xdr = controllers_.xdr();
  const double liveNits = xdr.currentNits();
  const DeepBlacksController& deepBlacks = controllers_.deepBlacks();
  const XDRPause& pause = controllers_.pause();
  const ui::MenuInputs inputs{
      .liveNits = liveNits,
      .deepBlacksOn = deepBlacks.isEnabled(),
      .deepBlacksLevel = deepBlacks.currentLevel(),
      .autoEnable = preferences::read(platform_.userDefaults, MenuActions::autoEnableKey),
      .loginItem = platform_.loginItems.status(),
      .simpleIcon = preferences::read(platform_.userDefaults, MenuActions::simpleIconKey),
      .keyboardShortcuts = keyboardShortcuts_.isOn(),
      .takenShortcuts = keyboardShortcuts_.takenCount(),
      .cappedNits = xdr.cappedNits(),
      .waitingForHeadroom = xdr.waitsForHeadroom(),
      .pausedFor = pause.reason(),
      .pauseChoices = {pause.isChosen(XDRPause::Reason::onBattery),
                       pause.isChosen(XDRPause::Reason::batteryLow),
                       pause.isChosen(XDRPause::Reason::hot)},
      .hasBattery = pause.hasBattery(),
  };
  statusItem_->setMenu(ui::buildStatusMenu(inputs, platform_.symbolImages));
}

void AppDelegate::refresh() {
  updateMenuBarDisplay();
  rebuildMenu();
}

bool AppDelegate::respondsToMenuAction(std::string_view selector) const {
  return menuActions_.respondsTo(selector);
}

void AppDelegate::performMenuAction(std::string_view selector,
                                    const platform::MenuItemSender& sender) {
  menuActions_.perform(selector, sender);
}

}  // namespace lumora
