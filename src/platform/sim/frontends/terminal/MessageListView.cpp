#include "platform/sim/frontends/terminal/MessageListView.h"

#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {

void MessageListView::open() {
  open_ = true;
  box_.scrolling().toTop();
  messages_.dismiss();
}

void MessageListView::layOut(const Area& room) {
  const int width = TextBox::widthIn(room, 96);
  const int textWidth = TextBox::textWidth(width);
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
  box_.layOut(room, width, static_cast<int>(lines_.size()));
}

void MessageListView::draw(CursesScreen& screen) {
  box_.draw(screen, "Messages", [&](std::size_t index, int y, int x) {
    const Line& line = lines_[index];
    screen.put(y, x, line.text,
               Look().withColor(line.isError ? std::optional(platform::NamedColor::systemRed)
                                             : std::nullopt));
  });
}

bool MessageListView::handle(const Input& input) {
  if (keys::isBack(input) || keys::isCharacter(input, 'm')) {
    close();
    return true;
  }
  return box_.scrolling().take(input);
}

std::vector<std::string_view> MessageListView::hints() const {
  if (box_.scrolling().scrolls()) return {"Esc: close messages", "\u2191\u2193: scroll"};
  return {"Esc: close messages"};
}

}  // namespace lumora::sim::terminal
