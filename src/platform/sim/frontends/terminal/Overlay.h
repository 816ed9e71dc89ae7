#pragma once

#include <string_view>
#include <vector>

#include "platform/sim/frontends/terminal/CursesScreen.h"

namespace lumora::sim::terminal {

// A box, or a few, drawn over the main screen: the menu, an alert, the help, the windows, the
// message list. Each lays itself out in the room it is given, draws itself and takes the input
// meant for it; the front end hands input down the layers and draws them in order.
class Overlay {
 public:
  virtual ~Overlay() = default;

  virtual bool isOpen() const = 0;
  // Keys it does not take go nowhere else: nothing under it answers while it is open.
  virtual bool isModal() const = 0;
  // Lays it out in `room`, the screen between the menu bar and the footer.
  virtual void layOut(const Area& room) = 0;
  // Its boxes as laid out last: what lies under them keeps clear of them.
  virtual std::vector<Area> areas() const = 0;
  virtual void draw(CursesScreen& screen) = 0;
  // False passes the input on to the layer below.
  virtual bool handle(const Input& input) = 0;
  // The footer's key hints while it is the top layer.
  virtual std::vector<std::string_view> hints() const = 0;
};

// Blanks the box and one cell around it, inside `room`: nothing under it touches its border, so
// no two borders ever run side by side.
void clearAround(CursesScreen& screen, const Area& box, const Area& room);

}  // namespace lumora::sim::terminal
