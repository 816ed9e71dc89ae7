#pragma once

#include <vector>

#include "platform/sim/EventLoop.h"
#include "platform/sim/SimApplication.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/frontends/terminal/MenuLayout.h"
#include "platform/sim/frontends/terminal/MenuTracking.h"
#include "platform/sim/frontends/terminal/Overlay.h"

namespace lumora::sim::terminal {

// The status item's menu while it is open, with its submenus: it hangs from the status item,
// scrolls where the screen is short, and takes every key while it is open. Escape, q, Left and h
// back out one level at a time.
class MenuView final : public Overlay {
 public:
  MenuView(SimStatusBar& statusBar, SimApplication& application, EventLoop& loop);

  void open(bool fromKeyboard);
  void close();
  // Where the status item ends on the menu bar: the menu hangs from there.
  void setAnchor(int right) { anchorRight_ = right; }

  bool isOpen() const override { return tracking_.isOpen(); }
  bool isModal() const override { return true; }
  void layOut(const Area& room) override;
  std::vector<Area> areas() const override;
  void draw(CursesScreen& screen) override;
  bool handle(const Input& input) override;
  std::vector<std::string_view> hints() const override;

 private:
  const platform::Menu* installedMenu() const;
  bool isEnabled(const platform::MenuItem& item) const;
  void follow(const MenuTracking::Outcome& outcome);
  void drawBox(CursesScreen& screen, const MenuBox& box, std::size_t level) const;

  SimStatusBar& statusBar_;
  SimApplication& application_;
  EventLoop& loop_;
  MenuTracking tracking_;
  int anchorRight_ = 0;
  Area room_;
  std::vector<int> firstRows_;
  std::vector<MenuBox> boxes_;
};

}  // namespace lumora::sim::terminal
