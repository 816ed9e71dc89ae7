#pragma once

#include "platform/Windows.h"

namespace lumora::macos {

// The EDR window's content rectangle as initWithContentRect:...screen: takes it: relative to the
// origin of that screen, whose frame is `screenFrame` in global coordinates. It is the 1x1-point
// top-left corner of the screen, where the panel's rounded corner hides it, whatever the screen's
// place among the displays.
inline platform::Rect edrWindowContentRect(const platform::Rect& screenFrame) {
  return platform::Rect{.x = 0, .y = screenFrame.height - 1, .width = 1, .height = 1};
}

// Whether the EDR window may draw a frame now: never while it is not visible or the screens
// sleep, when nextDrawable could wait up to a second on the main thread for a drawable that the
// compositor has no reason to hand back.
inline bool edrWindowMayDraw(bool visible, bool screensAsleep) {
  return visible && !screensAsleep;
}

}  // namespace lumora::macos
