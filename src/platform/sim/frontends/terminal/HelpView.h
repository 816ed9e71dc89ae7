#pragma once

#include <vector>

#include "platform/sim/frontends/terminal/KeyHelp.h"
#include "platform/sim/frontends/terminal/Overlay.h"
#include "platform/sim/frontends/terminal/TextBox.h"

namespace lumora::sim::terminal {

// The keys, over everything else, opened at the section of where the user is. The scrolling keys
// scroll them where they do not fit; any other key closes them.
class HelpView final : public Overlay {
 public:
  // `section` is the title of the section shown first.
  void open(std::string_view section);

  bool isOpen() const override { return open_; }
  bool isModal() const override { return true; }
  void layOut(const Area& room) override;
  std::vector<Area> areas() const override { return {box_.area()}; }
  void draw(CursesScreen& screen) override;
  bool handle(const Input& input) override;
  std::vector<std::string_view> hints() const override;

 private:
  bool open_ = false;
  // The section to show first, until the first layout has shown it.
  std::string_view section_;
  std::vector<HelpLine> lines_;
  TextBox box_;
};

}  // namespace lumora::sim::terminal
