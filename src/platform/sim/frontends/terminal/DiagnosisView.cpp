#include "platform/sim/frontends/terminal/DiagnosisView.h"

#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {

void DiagnosisView::open() {
  open_ = true;
  report_ = application_.diagnosticReport();
  if (report_.empty()) report_ = "The app has not started yet: there is no diagnosis.";
  box_.scrolling().toTop();
}

void DiagnosisView::layOut(const Area& room) {
  const int width = TextBox::widthIn(room, 96);
  lines_ = wrapKeepingIndents(report_, TextBox::textWidth(width));
  box_.layOut(room, width, static_cast<int>(lines_.size()));
}

void DiagnosisView::draw(CursesScreen& screen) {
  box_.draw(screen, "Diagnosis",
            [&](std::size_t index, int y, int x) { screen.put(y, x, lines_[index]); });
}

bool DiagnosisView::handle(const Input& input) {
  if (keys::isBack(input) || keys::isCharacter(input, 'r')) {
    open_ = false;
    return true;
  }
  box_.scrolling().take(input);
  return true;
}

std::vector<std::string_view> DiagnosisView::hints() const {
  if (box_.scrolling().scrolls()) return {"Esc: close diagnosis", "\u2191\u2193: scroll"};
  return {"Esc: close diagnosis"};
}

}  // namespace lumora::sim::terminal
