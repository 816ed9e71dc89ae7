#pragma once

#include <vector>

#include "platform/sim/frontends/terminal/KeyHelp.h"
#include "platform/sim/frontends/terminal/Overlay.h"
#include "platform/sim/frontends/terminal/Scroll.h"

namespace lumora::sim::terminal {

// The keys, over everything else. The scrolling keys scroll them where they do not fit; any
// other key closes them.
class HelpView final : public Overlay {
 public:
  void open();

  bool isOpen() const override { return open_; }
  bool isModal() const override { return true; }
  void layOut(const Area& room) override;
  std::vector<Area> areas() const override { return {area_}; }
  void draw(CursesScreen& screen) override;
  bool handle(const Input& input) override;
  std::vector<std::string_view> hints() const override;

 private:
  bool open_ = false;
  Area room_;
  Area area_;
  std::vector<HelpLine> lines_;
  Scroll scroll_;
};

}  // namespace lumora::sim::terminal
