#include "ui/StatusMenu.h"

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>

#include "display/Nits.h"
#include "ui/BrightnessSlider.h"
#include "ui/MenuActionList.h"

namespace lumora::ui {
namespace {

using platform::ControlState;
using platform::MenuItem;
using platform::NamedColor;
using platform::StaticText;
using Level = DeepBlacksController::Level;

ControlState stateFor(bool on) {
  return on ? ControlState::on : ControlState::off;
}

// Launch at Login tells what the system will do: on when the item runs at login, mixed while it
// waits for the user's approval (or was turned off) in the system's settings.
ControlState loginItemState(platform::LoginItemStatus status) {
  switch (status) {
    case platform::LoginItemStatus::enabled:
      return ControlState::on;
    case platform::LoginItemStatus::requiresApproval:
      return ControlState::mixed;
    case platform::LoginItemStatus::notRegistered:
    case platform::LoginItemStatus::notFound:
      return ControlState::off;
  }
  return ControlState::off;
}

MenuItem entry(std::string title, std::optional<StaticText> action,
               std::string keyEquivalent = "") {
  MenuItem item;
  item.title = std::move(title);
  item.action = action;
  item.keyEquivalent = std::move(keyEquivalent);
  return item;
}

// A symbol image in one palette colour; none when the symbol or the configuration is unknown.
std::optional<platform::SymbolImage> entryImage(platform::SymbolImages& symbolImages,
                                                StaticText symbolName, StaticText description,
                                                NamedColor color) {
  const std::optional<platform::SymbolImage> symbol =
      symbolImages.systemSymbolImage(symbolName, description);
  if (!symbol) return std::nullopt;
  return symbolImages.imageWithSymbolConfiguration(
      *symbol, platform::SymbolConfiguration{.palette = {color}, .scale = std::nullopt});
}

std::shared_ptr<const platform::Menu> deepBlacksSubmenu(Level current) {
  auto submenu = std::make_shared<platform::Menu>();
  submenu->items.reserve(DeepBlacksController::allCases.size());
  for (Level level : DeepBlacksController::allCases) {
    MenuItem item = entry(std::string(deepBlacksLevelName(level)), selectors::setDeepBlacksLevel);
    item.tag = DeepBlacksController::rawValue(level);
    item.state = stateFor(level == current);
    submenu->items.push_back(std::move(item));
  }
  return submenu;
}

std::shared_ptr<const platform::Menu> pauseSubmenu(const MenuInputs& inputs) {
  struct Choice {
    const char* title;
    StaticText action;
    bool needsBattery;
  };
  const std::array<Choice, 3> choices{{
      {"On Battery Power", selectors::togglePauseOnBattery, true},
      {"Below 20% Battery", selectors::togglePauseOnLowBattery, true},
      {"When the Mac Is Hot", selectors::togglePauseWhenHot, false},
  }};
  auto submenu = std::make_shared<platform::Menu>();
  submenu->items.reserve(choices.size());
  for (std::size_t i = 0; i < choices.size(); ++i) {
    MenuItem item = entry(choices[i].title, choices[i].action);
    item.state = stateFor(inputs.pauseChoices[i]);
    // A desktop Mac has no battery to pause for.
    if (choices[i].needsBattery && !inputs.hasBattery) item.enabled = false;
    submenu->items.push_back(std::move(item));
  }
  return submenu;
}

}  // namespace

std::string_view pauseReasonName(XDRPause::Reason reason) {
  switch (reason) {
    case XDRPause::Reason::onBattery:
      return "On Battery";
    case XDRPause::Reason::batteryLow:
      return "Battery Low";
    case XDRPause::Reason::hot:
      return "Mac Is Hot";
  }
  return "On Battery";
}

std::string_view deepBlacksLevelName(Level level) {
  switch (level) {
    case Level::off:
      return "Off";
    case Level::subtle:
      return "Subtle";
    case Level::medium:
      return "Medium";
    case Level::deep:
      return "Deep";
  }
  return "Off";
}

std::string headerTitle(const MenuInputs& inputs) {
  if (inputs.pausedFor) {
    return "\u23F8 XDR Paused (" + std::string(pauseReasonName(*inputs.pausedFor)) + ")";
  }
  if (inputs.deepBlacksOn) {
    return "\U0001F311 XDR + Deep Blacks (" +
           std::string(deepBlacksLevelName(inputs.deepBlacksLevel)) + ")";
  }
  if (inputs.liveNits > sdrCeilingNits) {
    const std::optional<std::int64_t> percent =
        truncatedToInteger(inputs.liveNits / sdrCeilingNits * 100.0);
    // A reading too large to count in percent (or infinite) still says that XDR is on.
    if (!percent) return "\u2600\uFE0F XDR Enabled";
    return "\u2600\uFE0F XDR Enabled (" + std::to_string(*percent) + "%)";
  }
  return "\U0001F4A1 SDR Mode";
}

std::string capTitle(double givenNits) {
  return "Now " + nitsText(givenNits) + ": the display allows no more";
}

std::string keyboardShortcutsTitle(std::size_t taken) {
  if (taken == 0) return "Keyboard Shortcuts";
  return "Keyboard Shortcuts (" + std::to_string(taken) + " taken)";
}

platform::Menu buildStatusMenu(const MenuInputs& inputs, platform::SymbolImages& symbolImages) {
  const bool xdrOn = inputs.liveNits > sdrCeilingNits;
  platform::Menu menu;
  menu.items.reserve(24);

  MenuItem header = entry(headerTitle(inputs), std::nullopt);
  header.enabled = false;
  menu.items.push_back(std::move(header));
  menu.items.push_back(MenuItem::separator());

  for (const BrightnessLevel& level : brightnessLevels) {
    MenuItem item = entry(std::string(level.label), selectors::setNits);
    item.tag = level.tag;
    item.state = stateFor(std::fabs(inputs.liveNits - level.nits) < levelMarkTolerance);
    menu.items.push_back(std::move(item));
  }
  menu.items.push_back(brightnessSliderEntry(inputs.liveNits));
  if (inputs.cappedNits || inputs.waitingForHeadroom) {
    MenuItem cap = entry(inputs.waitingForHeadroom ? std::string(waitingForHeadroomTitle)
                                                   : capTitle(*inputs.cappedNits),
                         std::nullopt);
    cap.enabled = false;
    menu.items.push_back(std::move(cap));
  }
  menu.items.push_back(MenuItem::separator());

  menu.items.push_back(
      entry(xdrOn ? "\u23F9 Disable XDR" : "\u25B6\uFE0F Enable XDR", selectors::toggleXDR, "x"));
  menu.items.push_back(MenuItem::separator());

  const std::string deepBlacksTitle =
      inputs.deepBlacksOn
          ? "\U0001F311 Deep Blacks: " + std::string(deepBlacksLevelName(inputs.deepBlacksLevel))
          : "\U0001F311 Deep Blacks";
  MenuItem deepBlacks = entry(deepBlacksTitle, std::nullopt);
  deepBlacks.image =
      entryImage(symbolImages, "moon.fill", "Deep Blacks",
                 inputs.deepBlacksOn ? NamedColor::systemIndigo : NamedColor::secondaryLabel);
  deepBlacks.submenu = deepBlacksSubmenu(inputs.deepBlacksLevel);
  menu.items.push_back(std::move(deepBlacks));

  MenuItem pause = entry("Pause XDR", std::nullopt);
  pause.image = entryImage(symbolImages, "pause.circle", "Pause XDR",
                           inputs.pausedFor ? NamedColor::cyan : NamedColor::secondaryLabel);
  pause.submenu = pauseSubmenu(inputs);
  menu.items.push_back(std::move(pause));
  menu.items.push_back(MenuItem::separator());

  MenuItem autoEnable = entry("Auto-enable on Launch", selectors::toggleAutoEnable);
  autoEnable.state = stateFor(inputs.autoEnable);
  menu.items.push_back(std::move(autoEnable));
  MenuItem launchAtLogin = entry("Launch at Login", selectors::toggleLaunchAtLogin);
  launchAtLogin.state = loginItemState(inputs.loginItem);
  menu.items.push_back(std::move(launchAtLogin));
  MenuItem simpleIcon = entry("Basicify Icon", selectors::toggleSimpleIcon);
  simpleIcon.state = stateFor(inputs.simpleIcon);
  menu.items.push_back(std::move(simpleIcon));
  MenuItem shortcuts =
      entry(keyboardShortcutsTitle(inputs.takenShortcuts), selectors::toggleShortcuts);
  shortcuts.state = stateFor(inputs.keyboardShortcuts);
  menu.items.push_back(std::move(shortcuts));
  menu.items.push_back(MenuItem::separator());

  MenuItem settings = entry("Settings...", selectors::openSettings, ",");
  settings.image = entryImage(symbolImages, "gearshape.fill", "Settings", NamedColor::cyan);
  menu.items.push_back(std::move(settings));
  MenuItem updates = entry("Check for Updates...", selectors::checkForUpdates);
  updates.image = entryImage(symbolImages, "arrow.triangle.2.circlepath", "Check Updates",
                             NamedColor::secondaryLabel);
  menu.items.push_back(std::move(updates));
  menu.items.push_back(MenuItem::separator());

  MenuItem reset = entry("Reset All Tweaks", selectors::resetAllTweaks);
  reset.image = entryImage(symbolImages, "arrow.counterclockwise", "Reset", NamedColor::systemRed);
  menu.items.push_back(std::move(reset));
  menu.items.push_back(entry("Quit Lumora Virir", selectors::quit, "q"));
  return menu;
}

}  // namespace lumora::ui
