#include "platform/sim/frontends/terminal/DiagnosisView.h"

#include <algorithm>

#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {

std::vector<std::string> wrapKeepingIndents(std::string_view text, int width) {
  std::vector<std::string> lines;
  if (width <= 0) return lines;
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    // An indent that leaves no room for the words is dropped.
    std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
    if (static_cast<int>(indent) > width / 2) indent = 0;
    const std::string spaces(indent, ' ');
    const std::vector<std::string> wrapped =
        wrapText(line.substr(indent), width - static_cast<int>(indent));
    for (const std::string& part : wrapped)
      lines.push_back(spaces + part);
    start = end + 1;
  }
  return lines;
}

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
