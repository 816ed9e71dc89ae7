#pragma once

#include <string>
#include <vector>

#include "platform/sim/SimAlerts.h"
#include "platform/sim/frontends/terminal/Overlay.h"
#include "platform/sim/frontends/terminal/Scroll.h"

namespace lumora::sim::terminal {

// The alert on screen: its message, its text (scrolled where it does not fit) and its buttons,
// chosen with Tab and the arrows and pressed with Enter or a click. Nothing under it answers.
class AlertView final : public Overlay {
 public:
  explicit AlertView(SimAlerts& alerts) : alerts_(alerts) {}

  // Another alert came up or went: the first button and the top of the text again.
  void reset();

  bool isOpen() const override { return alerts_.currentAlert() != nullptr; }
  bool isModal() const override { return true; }
  void layOut(const Area& room) override;
  std::vector<Area> areas() const override { return {area_}; }
  void draw(CursesScreen& screen) override;
  bool handle(const Input& input) override;
  std::vector<std::string_view> hints() const override;

 private:
  struct Button {
    int y, left, right;
    int response;
  };

  SimAlerts& alerts_;
  Area room_;
  Area area_;
  std::vector<std::string> heading_;
  std::vector<std::string> lines_;
  int textTop_ = 0;
  Scroll scroll_;
  int focus_ = 0;
  std::vector<Button> buttons_;
};

}  // namespace lumora::sim::terminal
