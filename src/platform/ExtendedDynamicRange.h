#pragma once

#include <memory>

#include "platform/Displays.h"

namespace lumora::platform {

// A window of extended-dynamic-range content, shown for as long as the object exists. It is
// drawn once when shown and again only on redraw: nothing redraws it periodically.
class EDRWindow {
 public:
  virtual ~EDRWindow() = default;

  // Orders the window front again and draws one frame, for after something may have changed
  // what the compositor keeps of it (wake, a Space change, unlock, a new request for headroom).
  // A frame that cannot be drawn now (the window is not visible, the screens sleep) is drawn as
  // soon as it can be.
  virtual void redraw() = 0;
};

// Asking macOS for EDR headroom, and reading how much it gives. While HDR content is on screen,
// macOS lets a display show values above 1.0 (SDR white) up to its current headroom; a gamma
// table with such values then shows ordinary content brighter. Main thread only.
class ExtendedDynamicRange {
 public:
  virtual ~ExtendedDynamicRange() = default;

  // A 1x1-point borderless window of EDR content (a CAMetalLayer that wants extended dynamic
  // range, cleared to a value just above 1.0) in the top-left corner of the screen of `display`,
  // under the panel's rounded corner: transparent to the mouse, on every Space and above
  // full-screen apps, never activating the app, never in the Dock or the window list, and kept
  // out of screen capture. Null when the display has no screen.
  virtual std::unique_ptr<EDRWindow> showEDRWindow(DisplayID display) = 0;

  // NSScreen.maximumExtendedDynamicRangeColorComponentValue of the display's screen: how far
  // above 1.0 the display can show values now; 1.0 when it gives no headroom or has no screen.
  virtual double currentHeadroom(DisplayID display) = 0;
  // NSScreen.maximumPotentialExtendedDynamicRangeColorComponentValue: the most the display could
  // give; 1.0 when it can give none or has no screen.
  virtual double potentialHeadroom(DisplayID display) = 0;
};

}  // namespace lumora::platform
