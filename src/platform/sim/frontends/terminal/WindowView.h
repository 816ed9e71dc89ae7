#pragma once

#include <memory>
#include <vector>

#include "platform/sim/SimWindows.h"
#include "platform/sim/frontends/terminal/Overlay.h"
#include "platform/sim/frontends/terminal/Scroll.h"
#include "platform/sim/frontends/terminal/WindowContent.h"

namespace lumora::sim::terminal {

// The windows on the simulated screen, the settings window among them: each a box with its title
// and ✕, its content laid out in cells and scrolled where the terminal is short. The key window
// closes with Escape, q, w or Ctrl-W; other keys go on to the main screen.
class WindowView final : public Overlay {
 public:
  explicit WindowView(SimWindows& windows) : windows_(windows) {}

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

  SimWindows& windows_;
  Area room_;
  std::vector<Box> boxes_;
  Scroll scroll_;  // of the key window's content
  int scrolledWindow_ = 0;
};

}  // namespace lumora::sim::terminal
