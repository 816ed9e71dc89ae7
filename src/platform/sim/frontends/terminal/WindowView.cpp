#include "platform/sim/frontends/terminal/WindowView.h"

#include <algorithm>
#include <utility>

#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {

void WindowView::layOut(const Area& room) {
  room_ = room;
  boxes_.clear();
  for (const std::shared_ptr<SimWindow>& window : windows_.visibleWindows()) {
    const platform::Rect frame = window->frame();
    const int columns = static_cast<int>(std::clamp(frame.width / pointsPerColumn, 10.0, 200.0));
    const int rows = static_cast<int>(std::clamp(frame.height / pointsPerRow, 3.0, 100.0));
    Box box{window, {}, {}};
    box.area.width = std::min(columns + 2, room.width);
    box.area.height = std::min(rows + 2, room.height);
    box.area.left = room.left + std::max(0, (room.width - box.area.width) / 2);
    box.area.top = room.top + std::max(0, (room.height - box.area.height) / 2);
    if (window->contentView()) {
      box.lines = layOutContent(*window->contentView(), frame.height, box.area.width - 2,
                                box.area.height - 2);
    }
    boxes_.push_back(std::move(box));
  }
  const Box* key = keyBox();
  const int number = key != nullptr ? key->window->number() : 0;
  if (number != scrolledWindow_) scroll_.toTop();
  scrolledWindow_ = number;
  if (key != nullptr) scroll_.fit(contentRows(key->lines), key->area.height - 2);
  const std::optional<platform::View> button = defaultButton();
  pressHint_ = button ? "Enter: " + button->text : "";
}

// Read from the window, not from the last layout: a key that comes with the one that opened the
// window finds its button.
std::optional<platform::View> WindowView::defaultButton() const {
  const std::shared_ptr<SimWindow> key = windows_.keyWindow();
  if (key == nullptr) return std::nullopt;
  std::vector<platform::View> buttons = key->buttons();
  if (buttons.empty()) return std::nullopt;
  return std::move(buttons.front());
}

std::vector<Area> WindowView::areas() const {
  std::vector<Area> areas;
  for (const Box& box : boxes_)
    areas.push_back(box.area);
  return areas;
}

const WindowView::Box* WindowView::keyBox() const {
  for (const Box& box : boxes_) {
    if (box.window->isKey()) return &box;
  }
  return nullptr;
}

void WindowView::draw(CursesScreen& screen) {
  for (const Box& box : boxes_)
    drawBox(screen, box);
}

void WindowView::drawBox(CursesScreen& screen, const Box& box) const {
  const Area& area = box.area;
  const SimWindow& window = *box.window;
  clearAround(screen, area, room_);
  const CursesScreen::Clip clip(screen, area);
  const bool key = window.isKey();
  screen.frame(area.top, area.left, area.height, area.width, Look().withDim(!key));
  if (window.isClosable()) {
    screen.put(area.top, area.left + 2, "\u2715",
               Look().withColor(platform::NamedColor::systemRed));
  }
  const std::string title = " " + window.title() + " ";
  screen.put(area.top, area.left + std::max(4, (area.width - displayWidth(title)) / 2), title,
             Look().withBold(key));
  const Area inside{area.top + 1, area.left + 1, area.height - 2, area.width - 2};
  const int first = firstRow(box);
  if (key) scroll_.drawMarkers(screen, inside.top, area.right() - 1);
  const CursesScreen::Clip content(screen, inside);
  const std::optional<platform::View> pressedByEnter = key ? defaultButton() : std::nullopt;
  for (const ContentLine& line : box.lines) {
    const int y = inside.top + line.row - first;
    if (y < inside.top || y >= inside.bottom()) continue;
    // The button Enter presses stands out.
    const Look look = line.look.withReverse(line.button && line.button == pressedByEnter);
    if (line.separator) {
      screen.repeat(y, inside.left + line.x, "\u2500", line.width, look);
    } else {
      screen.put(y, inside.left + line.x, ellipsized(line.text, line.width), look);
    }
  }
}

// The front-most window's button under (y, x), where it is drawn.
bool WindowView::pressButtonAt(int y, int x) {
  for (auto box = boxes_.rbegin(); box != boxes_.rend(); ++box) {
    const int top = box->area.top + 1;
    const int left = box->area.left + 1;
    for (const ContentLine& line : box->lines) {
      const int row = top + line.row - firstRow(*box);
      const int start = left + line.x;
      const bool shown = row >= top && row < box->area.bottom() - 1;
      if (!line.button || !shown || y != row || x < start ||
          x >= start + displayWidth(ellipsized(line.text, line.width))) {
        continue;
      }
      press(*line.button);
      return true;
    }
    if (box->area.contains(y, x)) return false;  // nothing under it is reached
  }
  return false;
}

void WindowView::press(const platform::View& button) {
  if (button.action) application_.sendMenuAction(*button.action, platform::MenuItemSender{});
}

bool WindowView::handle(const Input& input) {
  if (keys::isClick(input)) {
    for (const Box& box : boxes_) {
      const int x = box.area.left + 2;  // the ✕, two cells wide
      if (box.window->isClosable() && input.y == box.area.top &&
          (input.x == x || input.x == x + 1)) {
        box.window->performClose();
        return true;
      }
    }
    return pressButtonAt(input.y, input.x);
  }
  const std::shared_ptr<SimWindow> key = windows_.keyWindow();
  if (key == nullptr) return false;
  if (keys::isBack(input) || keys::isCharacter(input, keys::controlW) ||
      keys::isCharacter(input, 'w')) {
    key->performClose();
    return true;
  }
  if (keys::isEnter(input)) {
    const std::optional<platform::View> button = defaultButton();
    if (!button) return false;
    press(*button);
    return true;
  }
  return scroll_.take(input);
}

std::vector<std::string_view> WindowView::hints() const {
  if (windows_.keyWindow() == nullptr) return {};
  std::vector<std::string_view> hints{"Esc: close window"};
  if (!pressHint_.empty()) hints.push_back(pressHint_);
  if (scroll_.scrolls()) hints.push_back("\u2191\u2193: scroll");
  return hints;
}

}  // namespace lumora::sim::terminal
