#include "platform/sim/frontends/terminal/TextBox.h"

#include <algorithm>

#include "platform/sim/frontends/terminal/Overlay.h"

namespace lumora::sim::terminal {

void TextBox::layOut(const Area& room, int width, int count) {
  room_ = room;
  scroll_.fit(count, room.height - 2);
  area_.width = width;
  area_.height = scroll_.rows() + 2;
  area_.left = room.left + std::max(0, (room.width - area_.width) / 2);
  area_.top = room.top + std::max(0, (room.height - area_.height) / 2);
}

void TextBox::draw(CursesScreen& screen, std::string_view title,
                   const std::function<void(std::size_t index, int y, int x)>& drawLine) const {
  clearAround(screen, area_, room_);
  const CursesScreen::Clip clip(screen, area_);
  screen.frame(area_.top, area_.left, area_.height, area_.width);
  screen.put(area_.top, area_.left + 2, " " + std::string(title) + " ", Look().withBold(true));
  scroll_.drawMarkers(screen, area_.top + 1, area_.right() - 1);
  const CursesScreen::Clip text(
      screen, Area{area_.top + 1, area_.left + 2, area_.height - 2, area_.width - 4});
  for (int i = 0; i < scroll_.rows(); ++i) {
    drawLine(static_cast<std::size_t>(scroll_.first() + i), area_.top + 1 + i, area_.left + 2);
  }
}

}  // namespace lumora::sim::terminal
