#include "platform/sim/frontends/terminal/HelpView.h"

#include <algorithm>

namespace lumora::sim::terminal {

void HelpView::open() {
  open_ = true;
  scroll_.toTop();
}

void HelpView::layOut(const Area& room) {
  room_ = room;
  area_.width = std::min(room.width - 2, 80);
  lines_ = helpLines(area_.width - 4);
  scroll_.fit(static_cast<int>(lines_.size()), room.height - 2);
  area_.height = scroll_.rows() + 2;
  area_.left = room.left + std::max(0, (room.width - area_.width) / 2);
  area_.top = room.top + std::max(0, (room.height - area_.height) / 2);
}

void HelpView::draw(CursesScreen& screen) {
  clearAround(screen, area_, room_);
  const CursesScreen::Clip clip(screen, area_);
  screen.frame(area_.top, area_.left, area_.height, area_.width);
  screen.put(area_.top, area_.left + 2, " Keys ", Look().withBold(true));
  scroll_.drawMarkers(screen, area_.top + 1, area_.right() - 1);
  const CursesScreen::Clip text(
      screen, Area{area_.top + 1, area_.left + 2, area_.height - 2, area_.width - 4});
  for (int i = 0; i < scroll_.rows(); ++i) {
    const HelpLine& line = lines_[static_cast<std::size_t>(scroll_.first() + i)];
    screen.put(area_.top + 1 + i, area_.left + 2, line.text, Look().withBold(line.heading));
  }
}

bool HelpView::handle(const Input& input) {
  if (!scroll_.take(input)) open_ = false;
  return true;
}

std::vector<std::string_view> HelpView::hints() const {
  if (scroll_.scrolls()) return {"\u2191\u2193: scroll", "any other key: close"};
  return {"any key: close"};
}

}  // namespace lumora::sim::terminal
