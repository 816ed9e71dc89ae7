#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/frontends/terminal/CursesScreen.h"
#include "platform/sim/frontends/terminal/MessageList.h"

namespace lumora::sim::terminal {

// The screen's last rows: the newest message not yet dismissed, in plain words over at most two
// rows, and under it, always on the last row, the keys of what is on top, with the Dock at the
// right while the app has a place in it.
class Footer {
 public:
  // Lays the footer out for a screen `width` cells wide; returns the rows it takes.
  int layOut(int width, const MessageList::Message* message);
  // Draws it on the last rows of a screen `rows` high.
  void draw(CursesScreen& screen, int rows, const std::vector<std::string_view>& hints,
            bool inDock) const;

 private:
  int width_ = 0;
  std::vector<std::string> messageLines_;
  bool isError_ = false;
};

}  // namespace lumora::sim::terminal
