#include "platform/sim/frontends/terminal/AlertView.h"

#include <algorithm>

#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {

void AlertView::reset() {
  focus_ = 0;
  scroll_.toTop();
}

void AlertView::layOut(const Area& room) {
  room_ = room;
  const platform::Alert& alert = *alerts_.currentAlert();
  area_.width = std::min(room.width - 2, 62);
  const int inner = area_.width - 4;
  heading_ = wrapText(alert.messageText, inner - 3);
  lines_ = wrapText(alert.informativeText, inner);
  // Border, message, a blank line, the text, a blank line, the buttons, border; the message
  // keeps at least one line of text beside it.
  const int fixed = 5;
  heading_.resize(
      std::min(heading_.size(), static_cast<std::size_t>(std::max(1, room.height - fixed - 1))));
  const int headingRows = static_cast<int>(heading_.size());
  scroll_.fit(static_cast<int>(lines_.size()), std::max(0, room.height - fixed - headingRows));
  area_.height = fixed + headingRows + scroll_.rows();
  area_.left = room.left + std::max(0, (room.width - area_.width) / 2);
  area_.top = room.top + std::max(0, (room.height - area_.height) / 2);
  textTop_ = area_.top + 2 + headingRows;
}

void AlertView::draw(CursesScreen& screen) {
  const platform::Alert& alert = *alerts_.currentAlert();
  clearAround(screen, area_, room_);
  const CursesScreen::Clip clip(screen, area_);
  screen.frame(area_.top, area_.left, area_.height, area_.width, Look().withBold(true));
  scroll_.drawMarkers(screen, textTop_, area_.right() - 1);
  const Area inside{area_.top + 1, area_.left + 2, area_.height - 2, area_.width - 4};
  const CursesScreen::Clip text(screen, inside);
  const bool warning = alert.style != platform::AlertStyle::informational;
  screen.put(inside.top, inside.left, warning ? "\u26A0" : "\u24D8",
             Look()
                 .withColor(warning ? platform::NamedColor::systemRed : platform::NamedColor::cyan)
                 .withBold(true));
  int y = inside.top;
  for (const std::string& line : heading_)
    screen.put(y++, inside.left + 3, line, Look().withBold(true));
  for (int i = 0; i < scroll_.rows(); ++i)
    screen.put(textTop_ + i, inside.left, lines_[static_cast<std::size_t>(scroll_.first() + i)]);
  // Buttons from the right, the first (the default) right-most, as macOS lays them out.
  buttons_.clear();
  int x = inside.right();
  const int buttonsY = inside.bottom() - 1;
  for (std::size_t i = 0; i < alert.buttonTitles.size(); ++i) {
    const std::string label = "[ " + alert.buttonTitles[i] + " ]";
    x -= displayWidth(label);
    screen.put(buttonsY, x, label,
               Look().withBold(i == 0).withReverse(static_cast<int>(i) == focus_));
    buttons_.push_back(Button{buttonsY, std::max(x, inside.left), x + displayWidth(label),
                              platform::alertFirstButtonReturn + static_cast<int>(i)});
    x -= 1;
  }
}

bool AlertView::handle(const Input& input) {
  const platform::Alert* alert = alerts_.currentAlert();
  const auto buttons = static_cast<int>(alert->buttonTitles.size());
  if (scroll_.take(input)) return true;
  if (keys::isKey(input, KEY_LEFT) || keys::isKey(input, KEY_BTAB)) {
    focus_ = (focus_ + buttons - 1) % buttons;
  } else if (keys::isKey(input, KEY_RIGHT) || keys::isCharacter(input, '\t')) {
    focus_ = (focus_ + 1) % buttons;
  } else if (keys::isEnter(input)) {
    alerts_.answer(platform::alertFirstButtonReturn + focus_);
  } else if (keys::isClick(input)) {
    for (const Button& button : buttons_) {
      if (input.y == button.y && input.x >= button.left && input.x < button.right) {
        alerts_.answer(button.response);
      }
    }
  }
  return true;
}

std::vector<std::string_view> AlertView::hints() const {
  std::vector<std::string_view> hints{"\u2190\u2192: button", "Enter: press"};
  if (scroll_.scrolls()) hints.push_back("\u2191\u2193: scroll");
  hints.push_back("?: keys");
  return hints;
}

}  // namespace lumora::sim::terminal
