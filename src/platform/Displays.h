#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <variant>

namespace lumora::platform {

// The platform's display number (CGDirectDisplayID).
using DisplayID = std::uint32_t;

// What a screen's "NSScreenNumber" entry held, exactly as stored: an integer or a real number.
using ScreenNumber = std::variant<std::int64_t, double>;

struct Screen {
  // Empty when the screen's description has no "NSScreenNumber" or it is not a number.
  std::optional<ScreenNumber> screenNumber;
};

// The displays and screens of the machine, and their gamma transfer tables (CoreGraphics,
// NSScreen).
class Displays {
 public:
  virtual ~Displays() = default;

  // CGMainDisplayID: the display with the menu bar. Any thread.
  virtual DisplayID mainDisplayID() = 0;

  // NSScreen.mainScreen: the screen with the keyboard focus, or none.
  virtual std::optional<Screen> mainScreen() = 0;

  // CGSetDisplayTransferByTable: loads one table per channel; values from 0 to 1. The table stays
  // in force until it is replaced, the calibration is restored or the loading process ends.
  virtual void setTransferTable(DisplayID display, std::span<const float> red,
                                std::span<const float> green, std::span<const float> blue) = 0;

  // CGDisplayRestoreColorSyncSettings: every display back to the user's calibration.
  virtual void restoreColorSyncSettings() = 0;
};

}  // namespace lumora::platform
