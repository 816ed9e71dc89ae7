#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Displays.h"

namespace lumora::sim {

// What the simulated Mac's compositor makes of EDR windows: which ones it shows, and from when a
// display gives EDR headroom for them. As on macOS, headroom comes a moment after an EDR window
// is drawn on the display, and is 1.0 while none is, while the Mac sleeps or the screen is
// locked. Where macOS is known to let go of it, so does this model, each behind a display trait:
// a Space change can drop it until the window is drawn again; for a while after wake a drawn
// window gets none; and after unlocking, only a window drawn since gives any. The windows are the
// process's own, kept in memory as macOS keeps windows. Not thread-safe: the displays' state
// guards it.
class EDRCompositor {
 public:
  using Clock = std::chrono::steady_clock;

  // How one display treats EDR windows.
  struct Traits {
    double maximumHeadroom = 1.0;
    Clock::duration headroomDelay{};
    // A Space change takes the headroom away until the window is drawn again.
    bool dropsOnSpaceChange = false;
    // For this long after wake or screens wake, a window drawn gets no headroom.
    Clock::duration refusedAfterWake{};
  };

  struct WindowState {
    std::uint64_t id = 0;
    platform::DisplayID display = 0;
    // Frames drawn, the first when it was shown.
    std::uint64_t draws = 0;
    // Kept out of screenshots and recordings (NSWindowSharingNone).
    bool excludedFromCapture = false;
    // The last draw the compositor took for EDR; none when none since it let go of the window.
    std::optional<Clock::time_point> drawnForEDR;
  };

  // Shows a window on the display, drawn once; its identifier.
  std::uint64_t show(platform::DisplayID display, bool excludedFromCapture, const Traits& traits,
                     Clock::time_point now);
  // Draws it again. False for a window that is gone.
  bool draw(std::uint64_t window, const Traits& traits, Clock::time_point now);
  bool hide(std::uint64_t window);

  void setAsleep(bool asleep, Clock::time_point now);
  void setLocked(bool locked);
  bool isLocked() const { return locked_; }
  // The active Space changed: the windows on displays that drop EDR then lose it.
  template <typename TraitsOf>
  void changeSpace(TraitsOf&& traitsOf) {
    for (WindowState& window : windows_) {
      if (traitsOf(window.display).dropsOnSpaceChange) window.drawnForEDR.reset();
    }
  }

  std::optional<platform::DisplayID> displayOf(std::uint64_t window) const;
  // The first window on the display; null without one.
  const WindowState* windowOn(platform::DisplayID display) const;
  // From when the display gives its headroom: none while nothing would give it.
  std::optional<Clock::time_point> headroomFrom(platform::DisplayID display,
                                                const Traits& traits) const;

 private:
  // Whether the compositor takes a frame drawn now for EDR.
  bool takesDraw(const Traits& traits, Clock::time_point now) const;
  // Whether the window's last frame taken for EDR still brings headroom.
  bool counts(const WindowState& window, const Traits& traits) const;

  std::vector<WindowState> windows_;
  std::uint64_t lastWindow_ = 0;
  bool asleep_ = false;
  bool locked_ = false;
  std::optional<Clock::time_point> wokeAt_;
};

}  // namespace lumora::sim
