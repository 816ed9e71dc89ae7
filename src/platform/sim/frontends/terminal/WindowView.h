#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/SimApplication.h"
#include "platform/sim/SimWindows.h"
#include "platform/sim/frontends/terminal/Overlay.h"
#include "platform/sim/frontends/terminal/Scroll.h"
#include "platform/sim/frontends/terminal/WindowContent.h"

namespace lumora::sim::terminal {

// The windows on the simulated screen, the settings window among them: each a box with its title
// and ✕, its content laid out in cells and scrolled where the terminal is short. The key window
// closes with Escape, q, w or Ctrl-W, and Enter presses its first button; a click presses any
// button. A button sends its action to the application's delegate. Other keys go on to the main
// screen.
class WindowView final : public Overlay {
 public:
  WindowView(SimWindows& windows, SimApplication& application)
      : windows_(windows), application_(application) {}

  bool isOpen() const override { return !windows_.visibleWindows().empty(); }
  bool isModal() const override { return false; }
  void layOut(const Area& room) override;
  std::vector<Area> areas() const override;
  void draw(CursesScreen& screen) override;
  bool handle(const Input& input) override;
  std::vector<std::string_view> hints() const override;

 private:
  struct Box {
    std::shared_ptr<SimWindow> window;
    Area area;
    std::vector<ContentLine> lines;
  };
  void drawBox(CursesScreen& screen, const Box& box) const;
  const Box* keyBox() const;
  // The first of the box's content rows that shows.
  int firstRow(const Box& box) const { return box.window->isKey() ? scroll_.first() : 0; }
  // The key window's first button, as the window has it now; none without one.
  std::optional<platform::View> defaultButton() const;
  bool pressButtonAt(int y, int x);
  void press(const platform::View& button);

  SimWindows& windows_;
  SimApplication& application_;
  Area room_;
  std::vector<Box> boxes_;
  Scroll scroll_;  // of the key window's content
  int scrolledWindow_ = 0;
  std::string pressHint_;  // "Enter: <the default button's title>"
};

}  // namespace lumora::sim::terminal
