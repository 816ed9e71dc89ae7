#pragma once

#include <string>

#include "platform/sim/SimMac.h"
#include "platform/sim/frontends/terminal/CursesScreen.h"

namespace lumora::sim::terminal {

// The screen's first row: the app's name while it is the active app (or "asleep"), and at the
// right end the status item and the clock. At rest the status item is part of the bar; while its
// menu is open it stands out from it, as a pressed button does.
class MenuBar {
 public:
  explicit MenuBar(SimMac& mac) : mac_(mac) {}

  // Places the status item for a screen `width` cells wide, before the clock.
  void layOut(int width);
  void draw(CursesScreen& screen, bool menuOpen);
  // A click on the status item.
  bool isOnStatusItem(const Input& input) const;
  // Where the status item ends: its menu hangs from there.
  int statusItemRight() const { return statusRight_; }
  // The clock as drawn last; empty after a notice took the screen.
  const std::string& shownClock() const { return shownClock_; }
  void forgetClock() { shownClock_.clear(); }

  static std::string clock();

 private:
  void drawStatusItem(CursesScreen& screen, int x, bool menuOpen) const;

  SimMac& mac_;
  int width_ = 0;
  int statusLeft_ = 0;
  int statusRight_ = 0;
  std::string shownClock_;
};

}  // namespace lumora::sim::terminal
