#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

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

  // The online display for which CGDisplayIsBuiltin holds: the Mac's own panel; none on a Mac
  // without one, or while its lid is closed. Any thread.
  virtual std::optional<DisplayID> builtInDisplayID() = 0;

  // CGGetOnlineDisplayList: every display connected, for a report. Any thread.
  virtual std::vector<DisplayID> onlineDisplays() = 0;

  // NSScreen.mainScreen: the screen with the keyboard focus, or none.
  virtual std::optional<Screen> mainScreen() = 0;

  // CGSetDisplayTransferByTable: loads one table per channel, of equal sizes, resampled to the
  // display's own table size (CGDisplayGammaTableCapacity). Values run from 0 up; above 1 only as
  // far as the display's EDR headroom shows. The table stays in force until it is replaced, the
  // calibration is restored or the loading process ends. Returns the CGError: 0 when the table
  // was taken. Any thread.
  virtual std::int32_t setTransferTable(DisplayID display, std::span<const float> red,
                                        std::span<const float> green,
                                        std::span<const float> blue) = 0;

  // CGGetDisplayTransferByTable: the table in force (the calibration when no one loaded one), read
  // at the display's own size and resampled into the three spans, which have the same size.
  // Returns how many entries were written; 0 when the table cannot be read. Allocates nothing per
  // call (a backend may keep a buffer, sized at the first read). Any thread.
  virtual std::size_t readTransferTable(DisplayID display, std::span<float> red,
                                        std::span<float> green, std::span<float> blue) = 0;

  // CGDisplayRestoreColorSyncSettings: every display back to the user's calibration. Any thread.
  virtual void restoreColorSyncSettings() = 0;
};

}  // namespace lumora::platform
