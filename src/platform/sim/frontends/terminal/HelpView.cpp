#include "platform/sim/frontends/terminal/HelpView.h"

namespace lumora::sim::terminal {

void HelpView::open() {
  open_ = true;
  box_.scrolling().toTop();
}

void HelpView::layOut(const Area& room) {
  const int width = TextBox::widthIn(room, 76);
  lines_ = helpLines(TextBox::textWidth(width));
  box_.layOut(room, width, static_cast<int>(lines_.size()));
}

void HelpView::draw(CursesScreen& screen) {
  box_.draw(screen, "Keys", [&](std::size_t index, int y, int x) {
    screen.put(y, x, lines_[index].text, Look().withBold(lines_[index].heading));
  });
}

bool HelpView::handle(const Input& input) {
  if (!box_.scrolling().take(input)) open_ = false;
  return true;
}

std::vector<std::string_view> HelpView::hints() const {
  if (box_.scrolling().scrolls()) return {"\u2191\u2193: scroll", "any other key: close"};
  return {"any key: close"};
}

}  // namespace lumora::sim::terminal
