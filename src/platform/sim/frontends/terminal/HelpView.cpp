#include "platform/sim/frontends/terminal/HelpView.h"

namespace lumora::sim::terminal {

void HelpView::open(std::string_view section) {
  open_ = true;
  section_ = section;
  box_.scrolling().toTop();
}

void HelpView::layOut(const Area& room) {
  const int width = TextBox::widthIn(room, 76);
  lines_ = helpLines(TextBox::textWidth(width));
  box_.layOut(room, width, static_cast<int>(lines_.size()));
  if (section_.empty()) return;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].heading && lines_[i].text.starts_with(section_)) {
      box_.scrolling().toLine(static_cast<int>(i));
      break;
    }
  }
  section_ = {};
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
