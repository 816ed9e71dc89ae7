#include "ui/MenuActions.h"

#include <array>
#include <type_traits>

#include "display/Nits.h"
#include "ui/BrightnessSlider.h"
#include "ui/KeyboardShortcuts.h"
#include "ui/MenuActionList.h"

namespace lumora::ui {
namespace {

struct ActionBinding {
  std::string_view selector;
  void (*perform)(MenuActions& actions, const platform::MenuItemSender& sender);
};

// Calls the action, with the sender when it takes one.
template <auto method>
void invoke(MenuActions& actions, const platform::MenuItemSender& sender) {
  if constexpr (std::is_invocable_v<decltype(method), MenuActions&,
                                    const platform::MenuItemSender&>) {
    (actions.*method)(sender);
  } else {
    (actions.*method)();
  }
}

#define LUMORA_ACTION_BINDING(method, selector) \
  ActionBinding{selectors::method, &invoke<&MenuActions::method>},
constexpr std::array actionBindings{LUMORA_MENU_ACTIONS(LUMORA_ACTION_BINDING)};
#undef LUMORA_ACTION_BINDING

const ActionBinding* findBinding(std::string_view selector) {
  for (const ActionBinding& binding : actionBindings) {
    if (binding.selector == selector) return &binding;
  }
  return nullptr;
}

}  // namespace

MenuActions::MenuActions(platform::Platform& platform, SharedControllers& controllers, Owner& owner)
    : platform_(platform),
      controllers_(controllers),
      owner_(owner),
      settings_(std::make_shared<SettingsWindowController>(platform)),
      sliderThrottle_(controllers.clock(), sliderFollowInterval) {}

bool MenuActions::respondsTo(std::string_view selector) const {
  return findBinding(selector) != nullptr;
}

void MenuActions::perform(std::string_view selector, const platform::MenuItemSender& sender) {
  if (const ActionBinding* binding = findBinding(selector)) binding->perform(*this, sender);
}

void MenuActions::setNits(const platform::MenuItemSender& sender) {
  applyLevel(static_cast<double>(sender.tag), true);
}

void MenuActions::slideNits(const platform::MenuItemSender& sender) {
  const bool dragged = sender.motion == platform::SliderMotion::dragged;
  if (!sliderThrottle_.admits(!dragged)) return;
  // A key's step has found its stop already; from a stop it must be free to move a little.
  const double nits = sender.motion == platform::SliderMotion::stepped
                          ? clampedXDRLevel(sender.value)
                          : sliderLevel(sender.value);
  // The preference is written once, where the slider is let go.
  applyLevel(nits, !dragged);
}

void MenuActions::applyLevel(double nits, bool remember) {
  // The user decides last: the level holds, paused or not.
  controllers_.pause().userChoseLevel();
  XDRController& xdr = controllers_.xdr();
  if (nits > sdrCeilingNits) {
    xdr.setXDRBrightness(nits);
    if (remember) preferences::write(platform_.userDefaults, lastNitsKey, nits);
  } else {
    // The last XDR level stays remembered.
    xdr.disableXDR();
  }
  owner_.refresh();
}

void MenuActions::toggleXDR() {
  controllers_.pause().userChoseLevel();
  XDRController& xdr = controllers_.xdr();
  if (xdr.currentNits() > sdrCeilingNits) {
    xdr.disableXDR();
  } else {
    const double remembered = preferences::read(platform_.userDefaults, lastNitsKey);
    const double target = remembered > sdrCeilingNits ? remembered : xdrMaximumNits;
    xdr.setXDRBrightness(target);
    preferences::write(platform_.userDefaults, lastNitsKey, target);
  }
  owner_.refresh();
}

void MenuActions::toggleStoredFlag(preferences::Key<bool> key) {
  preferences::write(platform_.userDefaults, key, !preferences::read(platform_.userDefaults, key));
  owner_.refresh();
}

void MenuActions::toggleAutoEnable() {
  toggleStoredFlag(autoEnableKey);
}

void MenuActions::toggleSimpleIcon() {
  toggleStoredFlag(simpleIconKey);
}

void MenuActions::toggleShortcuts() {
  const bool on = !preferences::read(platform_.userDefaults, KeyboardShortcuts::enabledKey);
  preferences::write(platform_.userDefaults, KeyboardShortcuts::enabledKey, on);
  owner_.keyboardShortcutsToggled(on);
  owner_.refresh();
}

void MenuActions::toggleLaunchAtLogin() {
  platform::LoginItems& loginItems = platform_.loginItems;
  const platform::LoginItemStatus status = loginItems.status();
  // Approval is the user's to give, in the system's settings: the app only takes them there.
  if (status == platform::LoginItemStatus::requiresApproval) {
    loginItems.openLoginItemsSettings();
    owner_.refresh();
    return;
  }
  const bool wasOn = status == platform::LoginItemStatus::enabled;
  const std::optional<std::string> error =
      wasOn ? loginItems.unregisterMainApp() : loginItems.registerMainApp();
  if (error) {
    platform_.console.printLine("Login item error: " + *error);
    reportLoginItemFailure(wasOn, *error);
  } else {
    // The choice, for the record: the check mark reads the login item itself.
    preferences::write(platform_.userDefaults, launchAtLoginKey, !wasOn);
  }
  owner_.refresh();
}

void MenuActions::reportLoginItemFailure(bool wasOn, const std::string& error) {
  platform::Alert alert;
  const std::string_view title =
      wasOn ? "Launch at Login Could Not Be Turned Off" : "Launch at Login Could Not Be Turned On";
  alert.messageText = std::string(title);
  alert.informativeText = error;
  alert.style = platform::AlertStyle::warning;
  alert.buttonTitles = {"OK"};
  alert.floatsAboveOtherApplications = true;
  controllers_.trail().record(EventTrail::Event::alertShown, title);
  // The platform outlives every action; the actions themselves may be gone by then.
  platform::Alerts& alerts = platform_.alerts;
  platform_.mainQueue.performOnNextTurn([&alerts, alert] { alerts.runModal(alert); });
}

void MenuActions::setDeepBlacksLevel(const platform::MenuItemSender& sender) {
  const std::optional<DeepBlacksController::Level> level =
      DeepBlacksController::levelFromRawValue(sender.tag);
  if (!level) return;
  controllers_.deepBlacks().setLevel(*level, true);
  owner_.refresh();
}

void MenuActions::togglePause(XDRPause::Reason reason) {
  controllers_.pause().toggle(reason);
  owner_.refresh();
}

void MenuActions::togglePauseOnBattery() {
  togglePause(XDRPause::Reason::onBattery);
}

void MenuActions::togglePauseOnLowBattery() {
  togglePause(XDRPause::Reason::batteryLow);
}

void MenuActions::togglePauseWhenHot() {
  togglePause(XDRPause::Reason::hot);
}

void MenuActions::resetAllTweaks() {
  controllers_.pause().userChoseLevel();
  controllers_.deepBlacks().disable();
  controllers_.xdr().disableXDR();
  owner_.refresh();
}

void MenuActions::checkForUpdates() {
  owner_.updaterController().updater().checkForUpdates();
}

void MenuActions::openSettings() {
  settings_->open();
}

void MenuActions::copyDiagnostics() {
  owner_.copyDiagnostics();
}

void MenuActions::quit() {
  controllers_.xdr().disableXDR();
  platform_.application.terminate();
}

}  // namespace lumora::ui
