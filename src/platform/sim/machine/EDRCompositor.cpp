#include "platform/sim/machine/EDRCompositor.h"

#include <algorithm>

namespace lumora::sim {

bool EDRCompositor::takesDraw(const Traits& traits, Clock::time_point now) const {
  if (asleep_ || locked_) return false;
  return !wokeAt_ || now >= *wokeAt_ + traits.refusedAfterWake;
}

std::uint64_t EDRCompositor::show(platform::DisplayID display, bool excludedFromCapture,
                                  const Traits& traits, Clock::time_point now) {
  const WindowState window{.id = ++lastWindow_,
                           .display = display,
                           .draws = 0,
                           .excludedFromCapture = excludedFromCapture,
                           .drawnForEDR = {}};
  windows_.push_back(window);
  draw(window.id, traits, now);
  return window.id;
}

bool EDRCompositor::draw(std::uint64_t id, const Traits& traits, Clock::time_point now) {
  const auto found = std::find_if(windows_.begin(), windows_.end(),
                                  [id](const WindowState& window) { return window.id == id; });
  if (found == windows_.end()) return false;
  ++found->draws;
  // A window that gives headroom already keeps it: a frame drawn again starts nothing anew.
  if (takesDraw(traits, now) && !counts(*found, traits)) found->drawnForEDR = now;
  return true;
}

bool EDRCompositor::hide(std::uint64_t id) {
  const auto removed = std::remove_if(windows_.begin(), windows_.end(),
                                      [id](const WindowState& window) { return window.id == id; });
  if (removed == windows_.end()) return false;
  windows_.erase(removed, windows_.end());
  return true;
}

void EDRCompositor::setAsleep(bool asleep, Clock::time_point now) {
  asleep_ = asleep;
  if (asleep) return;
  wokeAt_ = now;
  // The displays come back without EDR. Where the compositor takes frames at once, a window
  // gives it again after its delay as if drawn now; where it refuses them for a while, a window
  // must be drawn again once that is over.
  for (WindowState& window : windows_)
    window.drawnForEDR = now;
}

void EDRCompositor::setLocked(bool locked) {
  if (locked_ && !locked) {
    // Only a window drawn after unlocking gives headroom again.
    for (WindowState& window : windows_)
      window.drawnForEDR.reset();
  }
  locked_ = locked;
}

std::optional<platform::DisplayID> EDRCompositor::displayOf(std::uint64_t id) const {
  for (const WindowState& window : windows_) {
    if (window.id == id) return window.display;
  }
  return std::nullopt;
}

const EDRCompositor::WindowState* EDRCompositor::windowOn(platform::DisplayID display) const {
  for (const WindowState& window : windows_) {
    if (window.display == display) return &window;
  }
  return nullptr;
}

bool EDRCompositor::counts(const WindowState& window, const Traits& traits) const {
  // A frame from before the refusal after wake ended counts for nothing.
  return window.drawnForEDR &&
         (!wokeAt_ || *window.drawnForEDR >= *wokeAt_ + traits.refusedAfterWake);
}

std::optional<EDRCompositor::Clock::time_point> EDRCompositor::headroomFrom(
    platform::DisplayID display, const Traits& traits) const {
  if (asleep_ || locked_ || traits.maximumHeadroom <= 1.0) return std::nullopt;
  std::optional<Clock::time_point> earliest;
  for (const WindowState& window : windows_) {
    if (window.display != display || !counts(window, traits)) continue;
    const Clock::time_point from = *window.drawnForEDR + traits.headroomDelay;
    if (!earliest || from < *earliest) earliest = from;
  }
  return earliest;
}

}  // namespace lumora::sim
