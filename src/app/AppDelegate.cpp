#include "app/AppDelegate.h"

#include <array>
#include <chrono>

#include "display/Nits.h"
#include "ui/MenuSelectors.h"

namespace lumora {
namespace {

// Which method each action selector reaches. The entry points only forward.
struct ActionBinding {
  std::string_view selector;
  void (*perform)(AppDelegate& delegate, const platform::MenuItemSender& sender);
};

template <void (AppDelegate::*method)()>
void withoutSender(AppDelegate& delegate, const platform::MenuItemSender&) {
  (delegate.*method)();
}

template <void (AppDelegate::*method)(const platform::MenuItemSender&)>
void withSender(AppDelegate& delegate, const platform::MenuItemSender& sender) {
  (delegate.*method)(sender);
}

constexpr std::array actionBindings{
    ActionBinding{selectors::setNits, withSender<&AppDelegate::setNits>},
    ActionBinding{selectors::toggleXDR, withoutSender<&AppDelegate::toggleXDR>},
    ActionBinding{selectors::toggleAutoEnable, withoutSender<&AppDelegate::toggleAutoEnable>},
    ActionBinding{selectors::toggleLaunchAtLogin, withoutSender<&AppDelegate::toggleLaunchAtLogin>},
    ActionBinding{selectors::toggleSimpleIcon, withoutSender<&AppDelegate::toggleSimpleIcon>},
    ActionBinding{selectors::setDeepBlacksLevel, withSender<&AppDelegate::setDeepBlacksLevel>},
    ActionBinding{selectors::resetAllTweaks, withoutSender<&AppDelegate::resetAllTweaks>},
    ActionBinding{selectors::checkForUpdates, withoutSender<&AppDelegate::checkForUpdates>},
    ActionBinding{selectors::openSettings, withoutSender<&AppDelegate::openSettings>},
    ActionBinding{selectors::quit, withoutSender<&AppDelegate::quit>},
};

const ActionBinding* findBinding(std::string_view selector) {
  for (const ActionBinding& binding : actionBindings) {
    if (binding.selector == selector) return &binding;
  }
  return nullptr;
}

}  // namespace

std::shared_ptr<AppDelegate> AppDelegate::create(platform::Platform& platform,
                                                 SharedControllers& controllers) {
  return std::make_shared<AppDelegate>(Passkey{}, platform, controllers);
}

AppDelegate::AppDelegate(Passkey, platform::Platform& platform, SharedControllers& controllers)
    : platform_(platform), controllers_(controllers) {}

platform::UpdaterController& AppDelegate::updaterController() {
  if (!updaterController_) {
    updaterController_ = platform_.updaters.makeStandardUpdaterController(true);
  }
  return *updaterController_;
}

void AppDelegate::applicationDidFinishLaunching() {
  statusItem_ = platform_.statusBar.statusItemWithLength(platform::variableStatusItemLength);

  const bool autoEnable = preferences::read(platform_.userDefaults, autoEnableKey);
  if (!autoEnable) controllers_.xdr().disableXDR();

  // The first refresh also makes the Deep Blacks controller, which restores a stored level.
  updateMenuBarDisplay();
  rebuildMenu();

  const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
  refreshTimer_ = platform_.timers.scheduledTimer(
      std::chrono::duration<double>(refreshInterval), true, [weakSelf] {
        if (const std::shared_ptr<AppDelegate> self = weakSelf.lock()) {
          self->updateMenuBarDisplay();
        }
      });

  if (!autoEnable) return;
  const double lastNits = preferences::read(platform_.userDefaults, lastNitsKey);
  if (!(lastNits > sdrCeilingNits)) return;
  XDRController& xdr = controllers_.xdr();
  // A display already in XDR keeps the level it has.
  if (xdr.isXDREnabled()) return;
  xdr.setXDRBrightness(lastNits);
  updateMenuBarDisplay();
  rebuildMenu();
}

void AppDelegate::quit() {
  controllers_.xdr().disableXDR();
  platform_.application.terminate();
}

void AppDelegate::applicationWillTerminate() {
  controllers_.xdr().disableXDR();
}

bool AppDelegate::respondsToMenuAction(std::string_view selector) const {
  return findBinding(selector) != nullptr;
}

void AppDelegate::performMenuAction(std::string_view selector,
                                    const platform::MenuItemSender& sender) {
  if (const ActionBinding* binding = findBinding(selector)) binding->perform(*this, sender);
}

}  // namespace lumora
