#pragma once

#include <string>
#include <vector>

#include "platform/sim/SimApplication.h"
#include "platform/sim/frontends/terminal/Overlay.h"
#include "platform/sim/frontends/terminal/TextBox.h"

namespace lumora::sim::terminal {

// The app's diagnosis, as Copy Diagnostics copies it: asked for once as it opens, each line
// wrapped under its own indent. Escape, q or r closes it and the scrolling keys scroll it; nothing
// under it answers meanwhile, so what it shows is not overtaken by a key meant for the screen.
class DiagnosisView final : public Overlay {
 public:
  explicit DiagnosisView(SimApplication& application) : application_(application) {}

  void open();

  bool isOpen() const override { return open_; }
  bool isModal() const override { return true; }
  void layOut(const Area& room) override;
  std::vector<Area> areas() const override { return {box_.area()}; }
  void draw(CursesScreen& screen) override;
  bool handle(const Input& input) override;
  std::vector<std::string_view> hints() const override;

 private:
  SimApplication& application_;
  bool open_ = false;
  std::string report_;
  std::vector<std::string> lines_;
  TextBox box_;
};

}  // namespace lumora::sim::terminal
