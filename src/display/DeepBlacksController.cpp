#include "display/DeepBlacksController.h"

#include <cmath>
#include <limits>
#include <string>
#include <variant>

namespace lumora {
namespace {

// The display identifier a screen number stands for, when it converts exactly.
std::optional<platform::DisplayID> displayIDFromScreenNumber(const platform::ScreenNumber& number) {
  constexpr auto highest = std::numeric_limits<platform::DisplayID>::max();
  if (const auto* integer = std::get_if<std::int64_t>(&number)) {
    if (*integer < 0 || *integer > static_cast<std::int64_t>(highest)) return std::nullopt;
    return static_cast<platform::DisplayID>(*integer);
  }
  const double real = std::get<double>(number);
  if (!std::isfinite(real) || real != std::trunc(real)) return std::nullopt;
  if (real < 0.0 || real > static_cast<double>(highest)) return std::nullopt;
  return static_cast<platform::DisplayID>(real);
}

}  // namespace

std::optional<DeepBlacksController::Level> DeepBlacksController::levelFromRawValue(
    std::int64_t rawValue) {
  for (Level level : allCases) {
    if (DeepBlacksController::rawValue(level) == rawValue) return level;
  }
  return std::nullopt;
}

DeepBlacksController::TransferTable DeepBlacksController::transferTable(float exponent) {
  TransferTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    const float input = static_cast<float>(i) / 255.0f;
    table[i] = std::pow(input, exponent);
  }
  return table;
}

DeepBlacksController::DeepBlacksController(platform::UserDefaults& defaults,
                                           platform::Displays& displays,
                                           platform::MainQueue& mainQueue, platform::Alerts& alerts)
    : defaults_(defaults), displays_(displays), mainQueue_(mainQueue), alerts_(alerts) {
  if (!preferences::read(defaults_, deepBlacksEnabledKey)) return;
  const std::optional<Level> stored =
      levelFromRawValue(preferences::read(defaults_, deepBlacksLevelKey));
  if (!stored || *stored == Level::off) return;
  setLevel(*stored, true);
}

void DeepBlacksController::setLevel(Level level, bool showWarning) {
  // A value cast from outside the four levels has no exponent to apply.
  if (!levelFromRawValue(rawValue(level))) return;
  currentLevel_ = level;
  if (level == Level::off) {
    turnOff();
    return;
  }
  if (showWarning && !preferences::read(defaults_, deepBlacksWarningShownKey)) {
    showDeepBlacksWarning();
  }
  applyGamma(gammaExponents[static_cast<std::size_t>(rawValue(level) - 1)]);
  isEnabled_ = true;
  preferences::write(defaults_, deepBlacksEnabledKey, true);
  preferences::write(defaults_, deepBlacksLevelKey, rawValue(level));
}

void DeepBlacksController::disable() {
  currentLevel_ = Level::off;
  turnOff();
}

void DeepBlacksController::reapply() {
  if (!isEnabled_ || currentLevel_ == Level::off) return;
  applyGamma(gammaExponents[static_cast<std::size_t>(rawValue(currentLevel_) - 1)]);
}

void DeepBlacksController::turnOff() {
  displays_.restoreColorSyncSettings();
  isEnabled_ = false;
  // The level stays stored, so the last level that was on is remembered.
  preferences::write(defaults_, deepBlacksEnabledKey, false);
}

void DeepBlacksController::applyGamma(float exponent) {
  const std::optional<platform::Screen> screen = displays_.mainScreen();
  if (!screen || !screen->screenNumber) return;
  const std::optional<platform::DisplayID> display =
      displayIDFromScreenNumber(*screen->screenNumber);
  if (!display) return;
  const TransferTable table = transferTable(exponent);
  displays_.setTransferTable(*display, table, table, table);
}

void DeepBlacksController::showDeepBlacksWarning() {
  if (warningPending_) return;
  warningPending_ = true;
  // The controller lives as long as the process, so the deferred work may refer to it. Not a
  // task of the main queue, which would wait behind the alert.
  mainQueue_.performOnNextTurn([this] {
    platform::Alert alert;
    alert.messageText = std::string(warningMessageText);
    alert.informativeText = std::string(warningInformativeText);
    alert.style = platform::AlertStyle::informational;
    alert.buttonTitles = {std::string(warningButtonTitle)};
    alert.floatsAboveOtherApplications = true;
    const int response = alerts_.runModal(alert);
    warningPending_ = false;
    // Only a dismissal by the user counts; an alert cut short by the end of the process does not.
    if (response >= platform::alertFirstButtonReturn) {
      preferences::write(defaults_, deepBlacksWarningShownKey, true);
    }
  });
}

}  // namespace lumora
