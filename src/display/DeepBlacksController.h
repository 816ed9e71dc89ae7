#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "display/EventTrail.h"
#include "display/TransferTables.h"
#include "platform/Alerts.h"
#include "platform/Console.h"
#include "platform/Displays.h"
#include "platform/MainQueue.h"
#include "platform/PreferenceKey.h"
#include "platform/UserDefaults.h"

namespace lumora {

// Deepens the display's black level with a power-law gamma transfer table at one of three
// strengths, and hands the display back to the system calibration when switched off. The level
// is stored so that it comes back at the next launch; the first switch-on shows a one-time
// warning. Main thread only.
class DeepBlacksController {
 public:
  enum class Level : std::int64_t { off = 0, subtle = 1, medium = 2, deep = 3 };
  static constexpr std::array<Level, 4> allCases{Level::off, Level::subtle, Level::medium,
                                                 Level::deep};

  static constexpr std::size_t transferTableSize = TransferTables::tableSize;
  using TransferTable = TransferTables::Table;

  // Gamma exponents of subtle, medium and deep, indexed by raw value minus one.
  static constexpr std::array<float, 3> gammaExponents{1.1f, 1.2f, 1.3f};

  // The level with this raw value; none outside 0 to 3.
  static std::optional<Level> levelFromRawValue(std::int64_t rawValue);
  static constexpr std::int64_t rawValue(Level level) { return static_cast<std::int64_t>(level); }

  // Entry i is (i / 255) raised to `exponent`, all in single precision.
  static TransferTable transferTable(float exponent);

  // Restores the stored level when Deep Blacks was on at the last set. The tables are loaded
  // through `tables`, which composes them with the XDR boost.
  DeepBlacksController(platform::UserDefaults& defaults, platform::Displays& displays,
                       TransferTables& tables, platform::MainQueue& mainQueue,
                       platform::Alerts& alerts, platform::Console& console, EventTrail& trail);
  DeepBlacksController(const DeepBlacksController&) = delete;
  DeepBlacksController& operator=(const DeepBlacksController&) = delete;

  bool isEnabled() const { return isEnabled_; }
  Level currentLevel() const { return currentLevel_; }

  // Sets, applies and stores a level. With `showWarning`, a first switch-on queues the warning.
  void setLevel(Level level, bool showWarning);
  // Off, without any warning.
  void disable();
  // Loads the table of the current level again, when it is on, on the display it acts on as it
  // is now: for after macOS restored the calibration (wake, a display change). No warning,
  // nothing stored.
  void reapply();

  static constexpr std::string_view warningMessageText = "Deep Blacks Enabled";
  static constexpr std::string_view warningInformativeText =
      "Adjusting black levels can lead to vivid colors and enhanced contrast. Some users may find "
      "it addicting.\n\nNote: May impact P3 color accuracy on some displays.\n\nUse at your own "
      "risk! \U0001F319\u2728";
  static constexpr std::string_view warningButtonTitle = "I Understand";

  // Deep Blacks was on when it was last set.
  static constexpr preferences::Key<bool> deepBlacksEnabledKey{"deepBlacksEnabled"};
  // Raw value of the last level switched on (1 to 3).
  static constexpr preferences::Key<std::int64_t> deepBlacksLevelKey{"deepBlacksLevel"};
  // The user has dismissed the warning once.
  static constexpr preferences::Key<bool> deepBlacksWarningShownKey{"deepBlacksWarningShown"};

 private:
  // False when the display did not take the table; said once per run.
  bool applyGamma(float exponent);
  void showDeepBlacksWarning();
  void turnOff();

  platform::UserDefaults& defaults_;
  platform::Displays& displays_;
  TransferTables& tables_;
  platform::MainQueue& mainQueue_;
  platform::Alerts& alerts_;
  platform::Console& console_;
  EventTrail& trail_;

  bool isEnabled_ = false;
  bool refusalSaid_ = false;
  Level currentLevel_ = Level::off;
  // A warning is queued or on screen; switching on again meanwhile must not queue another.
  bool warningPending_ = false;
};

}  // namespace lumora
