#include "display/DeepBlacksController.h"

#include <cmath>
#include <string>

#include "display/TargetDisplay.h"

namespace lumora {

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
                                           platform::Displays& displays, TransferTables& tables,
                                           platform::MainQueue& mainQueue, platform::Alerts& alerts)
    : defaults_(defaults),
      displays_(displays),
      tables_(tables),
      mainQueue_(mainQueue),
      alerts_(alerts) {
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
  tables_.clearDeepBlacks();
  isEnabled_ = false;
  // The level stays stored, so the last level that was on is remembered.
  preferences::write(defaults_, deepBlacksEnabledKey, false);
}

void DeepBlacksController::applyGamma(float exponent) {
  // Without a display to load it on, nothing is loaded, and the level still counts as set.
  tables_.setDeepBlacks(deepBlacksTargetDisplay(displays_), transferTable(exponent));
}

void DeepBlacksController::showDeepBlacksWarning() {
  if (warningPending_) return;
  warningPending_ = true;
  // The controller lives as long as the process, so the queued task may refer to it.
  mainQueue_.async([this] {
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
