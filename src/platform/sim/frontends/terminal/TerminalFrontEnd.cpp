#include "platform/sim/frontends/terminal/TerminalFrontEnd.h"

#include <fcntl.h>
#include <ncursesw/curses.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "platform/sim/MenuModel.h"
#include "platform/sim/SymbolGlyphs.h"
#include "platform/sim/frontends/terminal/DisplayPanel.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

constexpr char32_t escape = 27;
constexpr char32_t controlW = 23;

// The write end of the resize pipe, for the signal handler.
int resizeWriteFd = -1;

void onWindowChange(int) {
  const int savedErrno = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(resizeWriteFd, &byte, 1);
  errno = savedErrno;
}

bool isEnter(const Input& input) {
  return (input.kind == Input::Kind::character &&
          (input.character == '\r' || input.character == '\n' || input.character == ' ')) ||
         (input.kind == Input::Kind::key && input.key == KEY_ENTER);
}

bool isKey(const Input& input, int key) {
  return input.kind == Input::Kind::key && input.key == key;
}

bool isCharacter(const Input& input, char32_t character) {
  return input.kind == Input::Kind::character && input.character == character;
}

// Cells of the simulated screen's points: the settings window's 420 x 280 points come out at
// 60 x 17 cells.
constexpr double pointsPerColumn = 7.0;
constexpr double pointsPerRow = 16.0;

std::string clock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%a %H:%M", &local);
  return text;
}

}  // namespace

TerminalFrontEnd::TerminalFrontEnd(SimMac& mac)
    : mac_(mac), tracking_([&mac](const platform::MenuItem& item) {
        return menus::isEnabled(item, mac.application);
      }) {
  mac_.terminationSignals.setBeforeExit(&CursesScreen::restoreTerminalNow);
  // Lines may come from the termination thread too: the main queue hands them over.
  mac_.console.setSink([this](std::string_view line, bool) {
    mac_.loop.async([this, text = std::string(line)] {
      message_ = text;
      dirty_ = true;
    });
  });

  int fds[2];
  if (::pipe(fds) == 0) {
    resizeRead_ = FileDescriptor(fds[0]);
    resizeWriteFd = fds[1];
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = onWindowChange;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGWINCH, &action, nullptr);
    mac_.loop.watchReadable(resizeRead_.get(), [this] {
      char buffer[64];
      while (::read(resizeRead_.get(), buffer, sizeof buffer) > 0) {
      }
      screen_.resize();
      dirty_ = true;
    });
  }

  mac_.loop.watchReadable(STDIN_FILENO, [this] { readInput(); });
  mac_.loop.setAfterPass([this] {
    if (dirty_) redraw();
  });
  mac_.loop.setAfterTimersFired([this] { dirty_ = true; });
  mac_.statusBar.setChangeObserver([this] { dirty_ = true; });
  mac_.windows.setChangeObserver([this] { dirty_ = true; });
  mac_.alerts.setObserver([this] {
    alertFocus_ = 0;
    dirty_ = true;
    // An alert takes the screen at once, even when the main queue waits for it.
    redraw();
  });
  // The first pass of the run loop draws the screen, before anything happens.
  mac_.loop.async([] {});
}

SimStatusItem* TerminalFrontEnd::statusItem() const {
  const auto& items = mac_.statusBar.items();
  return items.empty() ? nullptr : items.front();
}

const platform::Menu* TerminalFrontEnd::installedMenu() const {
  const SimStatusItem* item = statusItem();
  return item != nullptr && item->menu() ? &*item->menu() : nullptr;
}

void TerminalFrontEnd::readInput() {
  while (const std::optional<Input> input = screen_.nextInput()) {
    handle(*input);
    if (mac_.loop.isStopped()) return;
  }
}

void TerminalFrontEnd::handle(const Input& input) {
  dirty_ = true;
  if (isKey(input, KEY_RESIZE)) {
    screen_.resize();
    return;
  }
  if (mac_.alerts.currentAlert() != nullptr) return handleAlert(input);
  if (helpShown_) {
    helpShown_ = false;
    return;
  }
  if (tracking_.isOpen()) return handleMenu(input);
  if (handleWindow(input)) return;
  handleGlobal(input);
}

void TerminalFrontEnd::handleAlert(const Input& input) {
  const platform::Alert* alert = mac_.alerts.currentAlert();
  const auto buttons = static_cast<int>(alert->buttonTitles.size());
  if (isKey(input, KEY_LEFT) || isKey(input, KEY_BTAB)) {
    alertFocus_ = (alertFocus_ + buttons - 1) % buttons;
  } else if (isKey(input, KEY_RIGHT) || isCharacter(input, '\t')) {
    alertFocus_ = (alertFocus_ + 1) % buttons;
  } else if (isEnter(input)) {
    mac_.alerts.answer(platform::alertFirstButtonReturn + alertFocus_);
  } else if (input.kind == Input::Kind::click) {
    for (const Button& button : alertButtons_) {
      if (input.y == button.y && input.x >= button.left && input.x < button.right) {
        mac_.alerts.answer(button.response);
      }
    }
  }
}

void TerminalFrontEnd::openMenu(bool fromKeyboard) {
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr) return;
  tracking_.open(*menu, fromKeyboard);
  // While a menu is tracked, timers wait, as in the event-tracking mode of a real menu.
  mac_.loop.setTrackingMenu(true);
}

void TerminalFrontEnd::closeMenu() {
  tracking_.close();
  mac_.loop.setTrackingMenu(false);
}

void TerminalFrontEnd::follow(const MenuTracking::Outcome& outcome) {
  if (tracking_.isOpen()) return;
  closeMenu();
  if (outcome.kind != MenuTracking::Outcome::Kind::pick || !outcome.picked) return;
  message_.clear();
  menus::pick(*outcome.picked, mac_.application);
}

bool TerminalFrontEnd::onStatusItem(const Input& input) const {
  return input.kind == Input::Kind::click && input.y == 0 && input.x >= statusLeft_ &&
         input.x < statusRight_;
}

void TerminalFrontEnd::handleMenu(const Input& input) {
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr) return closeMenu();
  if (isKey(input, KEY_DOWN)) {
    tracking_.moveDown(*menu);
  } else if (isKey(input, KEY_UP)) {
    tracking_.moveUp(*menu);
  } else if (isKey(input, KEY_RIGHT)) {
    tracking_.enterSubmenu(*menu);
  } else if (isKey(input, KEY_LEFT)) {
    tracking_.leaveSubmenu();
  } else if (isCharacter(input, escape)) {
    if (tracking_.selection().size() > 1) {
      tracking_.leaveSubmenu();
    } else {
      closeMenu();
    }
  } else if (isEnter(input)) {
    follow(tracking_.activate(*menu));
  } else if (input.kind == Input::Kind::click) {
    if (const std::optional<MenuHit> hit = hitTest(menuBoxes_, input.y, input.x)) {
      follow(tracking_.point(*menu, hit->level, hit->row, true));
    } else {
      closeMenu();  // a click anywhere else, the status item included, closes the menu
    }
  } else if (input.kind == Input::Kind::character && input.character < 128) {
    follow(tracking_.keyEquivalent(*menu, static_cast<char>(input.character)));
  }
}

bool TerminalFrontEnd::handleWindow(const Input& input) {
  if (input.kind == Input::Kind::click) {
    for (const CloseControl& control : closeControls_) {
      if (input.y == control.y && (input.x == control.x || input.x == control.x + 1)) {
        if (const auto window = control.window.lock()) window->performClose();
        return true;
      }
    }
    return false;
  }
  const std::shared_ptr<SimWindow> key = mac_.windows.keyWindow();
  if (key == nullptr) return false;
  if (isCharacter(input, escape) || isCharacter(input, controlW) || isCharacter(input, 'w')) {
    key->performClose();
    return true;
  }
  return false;
}

void TerminalFrontEnd::handleGlobal(const Input& input) {
  if (onStatusItem(input)) return openMenu(false);
  if (isEnter(input) || isCharacter(input, 'm') || isKey(input, KEY_F(10))) return openMenu(true);
  if (isCharacter(input, '?')) helpShown_ = true;
}

void TerminalFrontEnd::redraw() {
  dirty_ = false;
  screen_.erase();
  drawPanel();
  drawWindows();
  drawMenuBar();
  drawFooter();
  drawMenus();
  if (helpShown_) drawHelp();
  drawAlert();
  screen_.present();
}

int TerminalFrontEnd::drawStatusItem(int x) {
  const SimStatusItem* item = statusItem();
  if (item == nullptr) return x;
  const SimStatusButton& button = item->simButton();
  const bool highlighted = tracking_.isOpen();
  int cells = 0;
  const int start = x;
  screen_.put(0, x, " ", Look().withReverse(highlighted));
  x += 1;
  if (button.image()) {
    const platform::SymbolImage& image = *button.image();
    const std::optional<SymbolGlyph> glyph = symbolGlyph(image.symbolName);
    const bool large =
        image.configuration && image.configuration->scale == platform::SymbolScale::large;
    for (std::size_t layer = 0; glyph && layer < glyph->layerCount; ++layer) {
      Look look = Look().withBold(large).withReverse(highlighted);
      if (image.configuration && image.configuration->palette.size() > 0) {
        const platform::Palette& palette = image.configuration->palette;
        look.color = palette[std::min(layer, palette.size() - 1)];
      }
      cells = screen_.put(0, x, glyph->layers[layer], look);
      x += cells;
    }
  }
  if (!button.title().empty()) {
    cells = screen_.put(0, x, button.title(),
                        Look().withColor(button.contentTintColor()).withReverse(highlighted));
    x += cells;
  }
  screen_.put(0, x, " ", Look().withReverse(highlighted));
  x += 1;
  statusLeft_ = start;
  statusRight_ = x;
  return x;
}

void TerminalFrontEnd::drawMenuBar() {
  const int width = screen_.columnCount();
  screen_.repeat(0, 0, " ", width, Look().withReverse(true));
  screen_.put(0, 1, "\u25C6", Look().withReverse(true));
  if (mac_.application.showsInDock() && mac_.application.isActive()) {
    screen_.put(0, 3, "Lumora Virir", Look().withBold(true).withReverse(true));
  }
  const std::string time = clock();
  const int clockX = width - displayWidth(time) - 1;
  screen_.put(0, clockX, time, Look().withReverse(true));
  // The status item sits left of the clock, its width measured before it is drawn.
  const SimStatusItem* item = statusItem();
  int itemWidth = 2;
  if (item != nullptr) {
    const SimStatusButton& button = item->simButton();
    if (button.image()) itemWidth += displayWidth(renderSymbolGlyphs(*button.image(), false));
    itemWidth += displayWidth(button.title());
  }
  drawStatusItem(std::max(0, clockX - 1 - itemWidth));
}

void TerminalFrontEnd::drawPanel() {
  const SimDisplayState::Snapshot snapshot = mac_.displayState.snapshot();
  const std::vector<PanelLine> lines = displayPanelLines(snapshot, mac_.application.showsInDock());
  int y = 2;
  screen_.put(y++, 2, "Simulated display", Look().withBold(true));
  const int labelWidth = 17;
  for (const PanelLine& line : lines) {
    if (y >= screen_.rowCount() - 1) break;
    screen_.put(y, 2, line.label, Look().withColor(platform::NamedColor::secondaryLabel));
    screen_.put(y, 2 + labelWidth, line.value,
                Look().withColor(line.highlight ? std::optional(platform::NamedColor::cyan)
                                                : std::nullopt));
    ++y;
  }
  // The transfer curve of the first display with a table, where there is room for it.
  const int curveColumns = 21;
  const int curveRows = 7;
  const int curveX = screen_.columnCount() - curveColumns - 3;
  if (curveX < 2 + labelWidth + 36) return;
  for (const SimDisplayState::DisplaySnapshot& display : snapshot.displays) {
    if (!display.transferTables) continue;
    screen_.put(3, curveX, "Gamma of " + std::to_string(display.id),
                Look().withColor(platform::NamedColor::secondaryLabel));
    int row = 4;
    for (const std::string& line :
         transferCurve(display.transferTables->red, curveColumns, curveRows)) {
      screen_.put(row++, curveX, line, Look().withColor(platform::NamedColor::systemIndigo));
    }
    screen_.put(row, curveX, "\u2022 table  \u00B7 identity", Look().withDim(true));
    break;
  }
}

void TerminalFrontEnd::drawWindows() {
  closeControls_.clear();
  for (const std::shared_ptr<SimWindow>& window : mac_.windows.visibleWindows()) {
    const platform::Rect frame = window->frame();
    const int columns = static_cast<int>(std::clamp(frame.width / pointsPerColumn, 10.0, 200.0));
    const int rows = static_cast<int>(std::clamp(frame.height / pointsPerRow, 3.0, 100.0));
    const int width = std::min(columns + 2, screen_.columnCount());
    const int height = std::min(rows + 2, screen_.rowCount() - 2);
    const int left = std::max(0, (screen_.columnCount() - width) / 2);
    const int top = std::max(1, 1 + (screen_.rowCount() - 2 - height) / 2);
    for (int y = top; y < top + height; ++y)
      screen_.repeat(y, left, " ", width);
    const bool key = window->isKey();
    const Look border = Look().withDim(!key);
    screen_.frame(top, left, height, width, border);
    if (window->isClosable()) {
      screen_.put(top, left + 2, "\u2715", Look().withColor(platform::NamedColor::systemRed));
      closeControls_.push_back(CloseControl{top, left + 2, window});
    }
    const std::string title = " " + window->title() + " ";
    screen_.put(top, left + std::max(4, (width - displayWidth(title)) / 2), title,
                Look().withBold(key));
    if (!window->contentView()) continue;
    // Frames count from the bottom left of the content, in points.
    const double contentHeight = frame.height;
    const int innerRows = height - 2;
    for (const platform::View& view : window->contentView()->subviews) {
      const double fromTop = (contentHeight - (view.frame.y + view.frame.height)) / pointsPerRow;
      const int y = top + 1 +
                    std::clamp(static_cast<int>(std::clamp(fromTop, 0.0, 1000.0)), 0,
                               std::max(0, innerRows - 1));
      const int x =
          left + 1 + static_cast<int>(std::clamp(view.frame.x / pointsPerColumn, 0.0, 1000.0));
      const int span =
          std::min(static_cast<int>(std::clamp(view.frame.width / pointsPerColumn, 1.0, 1000.0)),
                   left + width - 1 - x);
      if (view.kind == platform::View::Kind::separator) {
        screen_.repeat(y, x, "\u2500", span, Look().withDim(true));
      } else if (view.kind == platform::View::Kind::label) {
        screen_.put(y, x, fitToWidth(view.text, span),
                    Look().withColor(view.textColor).withBold(view.font && view.font->bold));
      }
    }
  }
}

void TerminalFrontEnd::drawMenus() {
  menuBoxes_.clear();
  const platform::Menu* menu = installedMenu();
  if (!tracking_.isOpen() || menu == nullptr) return;
  menuBoxes_ = layoutMenus(tracking_.levels(*menu), tracking_.selection(), statusRight_,
                           screen_.columnCount(), screen_.rowCount());
  for (std::size_t level = 0; level < menuBoxes_.size(); ++level) {
    drawMenuBox(menuBoxes_[level], level);
  }
}

void TerminalFrontEnd::drawMenuBox(const MenuBox& box, std::size_t level) {
  for (int y = box.top; y < box.top + box.height; ++y)
    screen_.repeat(y, box.left, " ", box.width);
  screen_.frame(box.top, box.left, box.height, box.width);
  const int selected = level < tracking_.selection().size() ? tracking_.selection()[level] : -1;
  for (std::size_t row = 0; row < box.menu->items.size(); ++row) {
    const platform::MenuItem& item = box.menu->items[row];
    const int y = box.top + 1 + static_cast<int>(row);
    if (item.isSeparator) {
      screen_.put(y, box.left, "\u251C", Look());
      screen_.repeat(y, box.left + 1, "\u2500", box.width - 2, Look().withDim(true));
      screen_.put(y, box.left + box.width - 1, "\u2524", Look());
      continue;
    }
    const bool enabled = menus::isEnabled(item, mac_.application);
    const bool highlighted = static_cast<int>(row) == selected && enabled;
    const Look look = Look().withDim(!enabled).withReverse(highlighted);
    int x = box.left + 1;
    screen_.repeat(y, x, " ", box.width - 2, look);
    x += 1;
    screen_.put(y, x, item.state == platform::ControlState::on ? "\u2713" : " ", look);
    x += 2;
    if (item.image) {
      Look imageLook = look;
      if (item.image->configuration && item.image->configuration->palette.size() > 0) {
        imageLook.color = item.image->configuration->palette[0];
      }
      screen_.put(y, x, renderSymbolGlyphs(*item.image, false), imageLook);
    }
    x += box.imageWidth;
    screen_.put(y, x, item.title, look);
    x += box.titleWidth;
    if (!item.keyEquivalent.empty()) {
      const std::string label = menus::keyEquivalentLabel(item.keyEquivalent);
      screen_.put(y, x + box.keyWidth - displayWidth(label), label, look);
    }
    x += box.keyWidth;
    if (item.submenu) screen_.put(y, x + 1, "\u25B8", look);
  }
}

void TerminalFrontEnd::drawAlert() {
  alertButtons_.clear();
  const platform::Alert* alert = mac_.alerts.currentAlert();
  if (alert == nullptr) return;
  const int width = std::min(screen_.columnCount() - 2, 62);
  const int inner = width - 4;
  const std::vector<std::string> message = wrapText(alert->messageText, inner - 3);
  const std::vector<std::string> text = wrapText(alert->informativeText, inner);
  const int height =
      std::min(screen_.rowCount() - 2, static_cast<int>(message.size() + text.size()) + 6);
  const int left = std::max(0, (screen_.columnCount() - width) / 2);
  const int top = std::max(1, (screen_.rowCount() - height) / 2);
  for (int y = top; y < top + height; ++y)
    screen_.repeat(y, left, " ", width);
  screen_.frame(top, left, height, width, Look().withBold(true));
  const bool warning = alert->style != platform::AlertStyle::informational;
  int y = top + 1;
  screen_.put(y, left + 2, warning ? "\u26A0" : "\u24D8",
              Look()
                  .withColor(warning ? platform::NamedColor::systemRed : platform::NamedColor::cyan)
                  .withBold(true));
  for (const std::string& line : message)
    screen_.put(y++, left + 5, line, Look().withBold(true));
  ++y;
  for (const std::string& line : text) {
    if (y >= top + height - 2) break;
    screen_.put(y++, left + 2, line);
  }
  // Buttons from the right, the first (the default) right-most, as macOS lays them out.
  int x = left + width - 2;
  const int buttonsY = top + height - 2;
  for (std::size_t i = 0; i < alert->buttonTitles.size(); ++i) {
    const std::string label = "[ " + alert->buttonTitles[i] + " ]";
    x -= displayWidth(label);
    screen_.put(buttonsY, x, label,
                Look().withBold(i == 0).withReverse(static_cast<int>(i) == alertFocus_));
    alertButtons_.push_back(Button{buttonsY, x, x + displayWidth(label),
                                   platform::alertFirstButtonReturn + static_cast<int>(i)});
    x -= 1;
  }
}

void TerminalFrontEnd::drawHelp() {
  static const std::vector<std::string> lines{
      "Enter, Space or m   open the status menu (or click the status item)",
      "Up, Down            move through the menu",
      "Right, Left         open or close the Deep Blacks submenu",
      "Enter               pick the entry;  Escape closes the menu",
      "x  ,  q             while the menu is open: its key equivalents",
      "                    (\u2318X, \u2318, and \u2318Q on a Mac)",
      "Escape or w         close the settings window (or click \u2715)",
      "Tab, Left, Right    choose an alert's button; Enter presses it",
      "Ctrl-C              quit (the display goes back to its standard preset)",
      "",
      "Any key closes this help.",
  };
  const int width = std::min(screen_.columnCount() - 2, 76);
  const int height = std::min(screen_.rowCount() - 2, static_cast<int>(lines.size()) + 4);
  const int left = std::max(0, (screen_.columnCount() - width) / 2);
  const int top = std::max(1, (screen_.rowCount() - height) / 2);
  for (int y = top; y < top + height; ++y)
    screen_.repeat(y, left, " ", width);
  screen_.frame(top, left, height, width);
  screen_.put(top, left + 2, " Keys ", Look().withBold(true));
  int y = top + 2;
  for (const std::string& line : lines) {
    if (y >= top + height - 1) break;
    screen_.put(y++, left + 2, line);
  }
}

void TerminalFrontEnd::drawFooter() {
  const int y = screen_.rowCount() - 1;
  // The Dock, at the right: the app has a place in it only while it is a regular app.
  constexpr std::string_view dock = "Dock: \u25C9 Lumora Virir";
  const bool inDock = mac_.application.showsInDock();
  const int dockX = screen_.columnCount() - displayWidth(dock) - 1;
  if (inDock) screen_.put(y, dockX, dock, Look().withBold());
  const int room = (inDock ? dockX : screen_.columnCount()) - 2;
  if (!message_.empty()) {
    screen_.put(y, 1, fitToWidth(message_, room),
                Look().withColor(platform::NamedColor::systemRed));
    return;
  }
  std::string hint = "Enter: status menu   ?: keys   Ctrl-C: quit";
  if (mac_.windows.keyWindow() != nullptr) hint = "Esc: close window   " + hint;
  screen_.put(y, 1, fitToWidth(hint, room), Look().withDim());
}

}  // namespace lumora::sim::terminal
