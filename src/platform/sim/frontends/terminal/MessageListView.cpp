#include "platform/sim/frontends/terminal/MessageListView.h"

#include <algorithm>

#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {

void MessageListView::open() {
  open_ = true;
  scroll_.toTop();
  messages_.dismiss();
}

void MessageListView::layOut(const Area& room) {
  room_ = room;
  area_.width = std::min(room.width - 2, 100);
  const int textWidth = area_.width - 4;
  lines_.clear();
  // The time, and the text beside it, wrapped under itself.
  constexpr int timeWidth = 7;
  const auto& messages = messages_.messages();
  for (auto message = messages.rbegin(); message != messages.rend(); ++message) {
    const std::vector<std::string> wrapped = wrapText(message->text, textWidth - timeWidth);
    for (std::size_t i = 0; i < wrapped.size(); ++i) {
      const std::string time = i == 0 ? message->time : "";
      lines_.push_back(Line{padToWidth(time, timeWidth) + wrapped[i], message->isError});
    }
  }
  if (lines_.empty()) lines_.push_back(Line{"Nothing has been said yet.", false});
  scroll_.fit(static_cast<int>(lines_.size()), room.height - 2);
  area_.height = scroll_.rows() + 2;
  area_.left = room.left + std::max(0, (room.width - area_.width) / 2);
  area_.top = room.top + std::max(0, (room.height - area_.height) / 2);
}

void MessageListView::draw(CursesScreen& screen) {
  clearAround(screen, area_, room_);
  const CursesScreen::Clip clip(screen, area_);
  screen.frame(area_.top, area_.left, area_.height, area_.width);
  screen.put(area_.top, area_.left + 2, " Messages ", Look().withBold(true));
  scroll_.drawMarkers(screen, area_.top + 1, area_.right() - 1);
  const CursesScreen::Clip text(
      screen, Area{area_.top + 1, area_.left + 2, area_.height - 2, area_.width - 4});
  for (int i = 0; i < scroll_.rows(); ++i) {
    const Line& line = lines_[static_cast<std::size_t>(scroll_.first() + i)];
    screen.put(area_.top + 1 + i, area_.left + 2, line.text,
               Look().withColor(line.isError ? std::optional(platform::NamedColor::systemRed)
                                             : std::nullopt));
  }
}

bool MessageListView::handle(const Input& input) {
  if (keys::isBack(input) || keys::isCharacter(input, 'm')) {
    close();
    return true;
  }
  return scroll_.take(input);
}

std::vector<std::string_view> MessageListView::hints() const {
  if (scroll_.scrolls()) return {"Esc: close messages", "\u2191\u2193: scroll"};
  return {"Esc: close messages"};
}

}  // namespace lumora::sim::terminal
