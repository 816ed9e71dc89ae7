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
                                           platform::MainQueue& mainQueue, platform::Alerts& alerts,
                                           platform::Console& console, EventTrail& trail)
    : defaults_(defaults),
      displays_(displays),
      tables_(tables),
      mainQueue_(mainQueue),
      alerts_(alerts),
      console_(console),
      trail_(trail) {
  if (!preferences::read(defaults_, deepBlacksEnabledKey)) return;
  const std::optional<Level> stored =
      levelFromRawValue(preferences::read(defaults_, deepBlacksLevelKey));
  if (!stored || *stored == Level::off) return;
  setLevel(*stored, true);
}

void DeepBlacksController::setLevel(Level level, bool showWarning) {
  // A value cast from outside the four levels has no exponent to apply.
  if (!levelFromRawValue(rawValue(level))) return;
  if (level == Level::off) {
    currentLevel_ = level;
    turnOff();
    return;
  }
  // A table the display refused is not stored as if it were in force.
  if (!applyGamma(gammaExponents[static_cast<std::size_t>(rawValue(level) - 1)])) return;
  currentLevel_ = level;
  if (showWarning && !preferences::read(defaults_, deepBlacksWarningShownKey)) {
    showDeepBlacksWarning();
  }
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

bool DeepBlacksController::applyGamma(float exponent) {
  // Without a display to load it on, nothing is loaded, and the level still counts as set.
  const std::int32_t status =
      tables_.setDeepBlacks(deepBlacksTargetDisplay(displays_), transferTable(exponent));
  if (status == 0) return true;
  if (!refusalSaid_) {
    refusalSaid_ = true;
    console_.printErrorLine("Lumora Virir: macOS did not take the Deep Blacks table (error " +
                            std::to_string(status) + "); the display keeps its colours.");
  }
  return false;
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
    trail_.record(EventTrail::Event::alertShown, warningMessageText);
    const int response = alerts_.runModal(alert);
    warningPending_ = false;
    // Only a dismissal by the user counts; an alert cut short by the end of the process does not.
    if (response >= platform::alertFirstButtonReturn) {
      preferences::write(defaults_, deepBlacksWarningShownKey, true);
    }
  });
}

}  // namespace lumora
