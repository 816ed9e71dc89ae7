// What the status menu's entries do. Every action that changes state ends with a refresh.

#include "app/AppDelegate.h"
#include "display/Nits.h"

namespace lumora {

void AppDelegate::refresh() {
  updateMenuBarDisplay();
  rebuildMenu();
}

void AppDelegate::setNits(const platform::MenuItemSender& sender) {
  XDRController& xdr = controllers_.xdr();
  if (sender.tag > static_cast<std::int64_t>(sdrCeilingNits)) {
    const auto nits = static_cast<double>(sender.tag);
    xdr.setXDRBrightness(nits);
    preferences::write(platform_.userDefaults, lastNitsKey, nits);
  } else {
    // The last XDR level stays remembered.
    xdr.disableXDR();
  }
  refresh();
}

void AppDelegate::toggleXDR() {
  XDRController& xdr = controllers_.xdr();
  if (xdr.getPresetMaxNits() > sdrCeilingNits) {
    xdr.disableXDR();
  } else {
    const double remembered = preferences::read(platform_.userDefaults, lastNitsKey);
    const double target = remembered > sdrCeilingNits ? remembered : xdrMaximumNits;
    xdr.setXDRBrightness(target);
    preferences::write(platform_.userDefaults, lastNitsKey, target);
  }
  refresh();
}

void AppDelegate::toggleStoredFlag(preferences::Key<bool> key) {
  preferences::write(platform_.userDefaults, key, !preferences::read(platform_.userDefaults, key));
  refresh();
}

void AppDelegate::toggleAutoEnable() {
  toggleStoredFlag(autoEnableKey);
}

void AppDelegate::toggleSimpleIcon() {
  toggleStoredFlag(simpleIconKey);
}

void AppDelegate::toggleLaunchAtLogin() {
  const bool wasOn = preferences::read(platform_.userDefaults, launchAtLoginKey);
  preferences::write(platform_.userDefaults, launchAtLoginKey, !wasOn);
  const std::optional<std::string> error =
      wasOn ? platform_.loginItems.unregisterMainApp() : platform_.loginItems.registerMainApp();
  if (error) {
    platform_.console.printLine("Login item error: " + *error);
    // The check mark shows the stored choice, so it goes back to what is really registered.
    preferences::write(platform_.userDefaults, launchAtLoginKey, wasOn);
  }
  refresh();
}

void AppDelegate::setDeepBlacksLevel(const platform::MenuItemSender& sender) {
  const std::optional<DeepBlacksController::Level> level =
      DeepBlacksController::levelFromRawValue(sender.tag);
  if (!level) return;
  controllers_.deepBlacks().setLevel(*level, true);
  refresh();
}

void AppDelegate::resetAllTweaks() {
  controllers_.deepBlacks().disable();
  controllers_.xdr().disableXDR();
  refresh();
}

void AppDelegate::checkForUpdates() {
  updaterController().updater().checkForUpdates();
}

}  // namespace lumora
