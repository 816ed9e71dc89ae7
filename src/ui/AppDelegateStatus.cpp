// The two refreshes of the delegate: the status item's appearance and the status menu.

#include "app/AppDelegate.h"
#include "ui/StatusItemAppearance.h"
#include "ui/StatusMenu.h"

namespace lumora {

void AppDelegate::updateMenuBarDisplay() {
  // The reading order matters: the first call is the one that makes the Deep Blacks controller,
  // and it must be made even when the status item has no button.
  const double liveNits = controllers_.xdr().getPresetMaxNits();
  const bool deepBlacksOn = controllers_.deepBlacks().isEnabled();
  platform::StatusButton* button = statusItem_ ? statusItem_->button() : nullptr;
  if (button == nullptr) return;
  const ui::StatusInputs inputs{
      .liveNits = liveNits,
      .deepBlacksOn = deepBlacksOn,
      .simpleIcon = preferences::read(platform_.userDefaults, simpleIconKey),
  };
  ui::applyStatusItemAppearance(ui::statusItemAppearance(inputs, platform_.symbolImages), *button);
}

void AppDelegate::rebuildMenu() {
  if (!statusItem_) return;
  const double liveNits = controllers_.xdr().getPresetMaxNits();
  const DeepBlacksController& deepBlacks = controllers_.deepBlacks();
  const ui::MenuInputs inputs{
      .liveNits = liveNits,
      .deepBlacksOn = deepBlacks.isEnabled(),
      .deepBlacksLevel = deepBlacks.currentLevel(),
      .autoEnable = preferences::read(platform_.userDefaults, autoEnableKey),
      .launchAtLogin = preferences::read(platform_.userDefaults, launchAtLoginKey),
      .simpleIcon = preferences::read(platform_.userDefaults, simpleIconKey),
  };
  statusItem_->setMenu(ui::buildStatusMenu(inputs, platform_.symbolImages));
}

}  // namespace lumora
