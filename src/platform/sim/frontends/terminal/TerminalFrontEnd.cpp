#include "platform/sim/frontends/terminal/TerminalFrontEnd.h"

#include <fcntl.h>
#include <ncursesw/curses.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "platform/sim/MenuModel.h"
#include "platform/sim/SymbolGlyphs.h"
#include "platform/sim/frontends/DisplayChanges.h"
#include "platform/sim/frontends/terminal/DirectKeys.h"
#include "platform/sim/frontends/terminal/DisplayPanel.h"
#include "platform/sim/frontends/terminal/KeyHelp.h"
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

bool isUp(const Input& input) {
  return isKey(input, KEY_UP) || isCharacter(input, 'k');
}

bool isDown(const Input& input) {
  return isKey(input, KEY_DOWN) || isCharacter(input, 'j');
}

// The change a scrolling key (Up, Down, Page Up, Page Down) makes to the first line shown of the
// help or an alert; 0 for any other key.
int scrollStep(const Input& input, int page) {
  if (isKey(input, KEY_UP)) return -1;
  if (isKey(input, KEY_DOWN)) return 1;
  if (isKey(input, KEY_PPAGE)) return -std::max(1, page);
  if (isKey(input, KEY_NPAGE)) return std::max(1, page);
  return 0;
}

// Cells of the simulated screen's points: the settings window's 420 x 280 points come out at
// 60 x 17 cells.
constexpr double pointsPerColumn = 7.0;
constexpr double pointsPerRow = 16.0;

std::string clock() {
  // The precise clock: time() may still tell the last second of the old minute just as the
  // minute's timer fires.
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  char text[32];
  std::strftime(text, sizeof text, "%a %H:%M", &local);
  return text;
}

// The text cut to `width` cells, with an ellipsis when something is left out.
std::string ellipsized(std::string_view text, int width) {
  if (displayWidth(text) <= width) return std::string(text);
  if (width <= 0) return "";
  return fitToWidth(text, width - 1) + "\u2026";
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
      if (tooSmall()) closeMenu();
      dirty_ = true;
    });
  }

  mac_.loop.watchReadable(STDIN_FILENO, [this] { readInput(); });
  if (minuteTicker_.fd() >= 0) {
    mac_.loop.watchReadable(minuteTicker_.fd(), [this] {
      minuteTicker_.acknowledge();
      checkClock();
    });
  }
  mac_.loop.setAfterPass([this] {
    if (dirty_) redraw();
  });
  // The app's refresh: the display's file may have been changed by someone else.
  mac_.loop.setAfterTimersFired([this] {
    checkDisplays();
    if (minuteTicker_.fd() < 0) checkClock();
  });
  mac_.statusBar.setChangeObserver([this] { dirty_ = true; });
  mac_.windows.setChangeObserver([this] { dirty_ = true; });
  mac_.alerts.setObserver([this] {
    alertFocus_ = 0;
    alertFirst_ = 0;
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

bool TerminalFrontEnd::tooSmall() const {
  return screen_.columnCount() < minimumColumns || screen_.rowCount() < minimumRows;
}

void TerminalFrontEnd::checkDisplays() {
  if (tooSmall()) return;
  // The same snapshot while the displays' file is unchanged: then nothing is compared.
  const std::shared_ptr<const SimDisplayState::Snapshot> displays =
      mac_.displayState.currentSnapshot();
  if (displays != shownDisplays_ &&
      (!shownDisplays_ || !sameDisplays(*displays, *shownDisplays_))) {
    dirty_ = true;
  }
}

void TerminalFrontEnd::checkClock() {
  if (tooSmall()) return;
  if (clock() != shownClock_) dirty_ = true;
}

void TerminalFrontEnd::readInput() {
  bool any = false;
  while (const std::optional<Input> input = screen_.nextInput()) {
    any = true;
    handle(*input);
    if (mac_.loop.isStopped()) return;
  }
  if (!any) noticeHangUp();
}

// Readable with nothing to read: the terminal may be gone. The kernel's SIGHUP does not reach a
// process outside the terminal's foreground group, so the app asks for its own; where hang-ups
// are ignored (nohup), it keeps running without a terminal.
void TerminalFrontEnd::noticeHangUp() {
  pollfd terminal{STDIN_FILENO, POLLIN, 0};
  if (::poll(&terminal, 1, 0) <= 0 || (terminal.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0) {
    return;
  }
  mac_.loop.unwatch(STDIN_FILENO);
  ::kill(::getpid(), SIGHUP);
}

void TerminalFrontEnd::handle(const Input& input) {
  if (isKey(input, KEY_RESIZE)) {
    screen_.resize();
    if (tooSmall()) closeMenu();
    dirty_ = true;
    return;
  }
  if (isKey(input, 0)) return;  // a mouse event other than a click
  dirty_ = true;
  if (tooSmall()) return;  // only Ctrl-C, or a larger terminal, does anything now
  if (helpShown_) return handleHelp(input);
  if (isCharacter(input, '?') || isKey(input, KEY_F(1))) {
    helpShown_ = true;
    helpFirst_ = 0;
    return;
  }
  if (mac_.alerts.currentAlert() != nullptr) return handleAlert(input);
  if (tracking_.isOpen()) return handleMenu(input);
  if (handleWindow(input)) return;
  handleMainScreen(input);
}

void TerminalFrontEnd::handleHelp(const Input& input) {
  const int step = scrollStep(input, screen_.rowCount() - 4);
  if (step != 0 && helpScrolls_) {
    helpFirst_ = std::max(0, helpFirst_ + step);  // the layout keeps it in range
    return;
  }
  helpShown_ = false;
}

void TerminalFrontEnd::handleAlert(const Input& input) {
  const platform::Alert* alert = mac_.alerts.currentAlert();
  const auto buttons = static_cast<int>(alert->buttonTitles.size());
  if (const int step = scrollStep(input, screen_.rowCount() - 8); step != 0) {
    if (alertScrolls_) alertFirst_ = std::max(0, alertFirst_ + step);
  } else if (isKey(input, KEY_LEFT) || isKey(input, KEY_BTAB)) {
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
  menuFirstRows_.clear();
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
  pick(*outcome.picked);
}

void TerminalFrontEnd::pick(const platform::MenuItem& entry) {
  message_.clear();
  menus::pick(entry, mac_.application);
}

bool TerminalFrontEnd::onStatusItem(const Input& input) const {
  return input.kind == Input::Kind::click && input.y == 0 && input.x >= statusLeft_ &&
         input.x < statusRight_;
}

void TerminalFrontEnd::handleMenu(const Input& input) {
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr) return closeMenu();
  if (isDown(input)) {
    tracking_.moveDown(*menu);
  } else if (isUp(input)) {
    tracking_.moveUp(*menu);
  } else if (isKey(input, KEY_HOME)) {
    tracking_.moveToFirst(*menu);
  } else if (isKey(input, KEY_END)) {
    tracking_.moveToLast(*menu);
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
    const std::optional<MenuHit> hit = hitTest(menuBoxes_, input.y, input.x);
    if (!hit) return closeMenu();  // a click anywhere else, the status item included
    if (hit->part == MenuHit::Part::entry) {
      follow(tracking_.point(*menu, hit->level, hit->row, true));
      return;
    }
    // The arrows on a border of a long menu move through it.
    tracking_.keepLevels(hit->level + 1);
    if (hit->part == MenuHit::Part::scrollUp) {
      tracking_.moveUp(*menu);
    } else {
      tracking_.moveDown(*menu);
    }
  } else if (input.kind == Input::Kind::character && input.character < 128) {
    const auto typed = static_cast<char>(input.character);
    const MenuTracking::Outcome outcome = tracking_.keyEquivalent(*menu, typed);
    if (outcome.kind == MenuTracking::Outcome::Kind::pick) return follow(outcome);
    tracking_.jumpToInitial(*menu, typed);
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

void TerminalFrontEnd::handleMainScreen(const Input& input) {
  if (onStatusItem(input)) return openMenu(false);
  if (isEnter(input) || isCharacter(input, 'm') || isKey(input, KEY_F(10))) return openMenu(true);
  if (isCharacter(input, 's')) {
    if (mac_.systemEvents.isAsleep()) {
      mac_.systemEvents.wake();
    } else {
      mac_.systemEvents.sleep();
    }
    dirty_ = true;
    return;
  }
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr || input.kind != Input::Kind::character || input.character >= 128) return;
  // The same entry, picked the same way, as in the menu: the app alone decides what it does.
  if (const auto entry = directKeyEntry(*menu, static_cast<char>(input.character))) pick(*entry);
}

void TerminalFrontEnd::redraw() {
  dirty_ = false;
  screen_.erase();
  if (tooSmall()) {
    drawTooSmall();
    screen_.present();
    return;
  }
  shownDisplays_ = mac_.displayState.currentSnapshot();
  layOutStatusItem();

  // The boxes first, so the panel's words keep clear of them.
  const std::vector<WindowBox> windows = layOutWindows();
  const platform::Menu* menu = installedMenu();
  menuBoxes_.clear();
  if (tracking_.isOpen() && menu != nullptr) {
    menuBoxes_ =
        layoutMenus(tracking_.levels(*menu), tracking_.selection(), menuFirstRows_, statusRight_,
                    Area{1, 0, screen_.rowCount() - 2, screen_.columnCount()},
                    [this](const platform::MenuItem& item) {
                      return menus::isEnabled(item, mac_.application);
                    });
    menuFirstRows_.clear();
    for (const MenuBox& box : menuBoxes_)
      menuFirstRows_.push_back(box.firstRow);
  }
  std::optional<TextBox> help;
  if (helpShown_) {
    help = layOutHelp();
    helpFirst_ = help->first;
    helpScrolls_ = help->scrolls();
  }
  std::optional<TextBox> alert;
  if (mac_.alerts.currentAlert() != nullptr) {
    alert = layOutAlert();
    alertFirst_ = alert->first;
    alertScrolls_ = alert->scrolls();
  }

  std::vector<Area> covers;
  for (const WindowBox& window : windows)
    covers.push_back(window.area);
  for (const MenuBox& box : menuBoxes_)
    covers.push_back(box.area);
  if (help) covers.push_back(help->area);
  if (alert) covers.push_back(alert->area);

  drawPanel(covers);
  closeControls_.clear();
  for (const WindowBox& window : windows)
    drawWindow(window);
  drawMenuBar();
  drawFooter();
  for (std::size_t level = 0; level < menuBoxes_.size(); ++level)
    drawMenuBox(menuBoxes_[level], level);
  alertButtons_.clear();
  if (alert) drawAlert(*alert);
  // Help asked for over an alert comes on top of it.
  if (help) drawHelp(*help);
  screen_.present();
}

void TerminalFrontEnd::drawTooSmall() {
  const std::string sizes = "(need " + std::to_string(minimumColumns) + "\u00D7" +
                            std::to_string(minimumRows) + ", have " +
                            std::to_string(screen_.columnCount()) + "\u00D7" +
                            std::to_string(screen_.rowCount()) + ")";
  // On one line where it fits, the sizes under it where not.
  const int width = std::max(1, screen_.columnCount() - 2);
  std::vector<std::string> lines{"terminal too small " + sizes};
  if (displayWidth(lines.front()) > width) lines = {"terminal too small", sizes};
  lines.push_back("");
  lines.push_back("Ctrl-C quits");
  const int top = std::max(0, (screen_.rowCount() - static_cast<int>(lines.size())) / 2);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int x = std::max(0, (screen_.columnCount() - displayWidth(lines[i])) / 2);
    screen_.put(top + static_cast<int>(i), x, lines[i], Look().withBold(i == 0));
  }
  shownClock_.clear();
}

void TerminalFrontEnd::layOutStatusItem() {
  const std::string time = clock();
  const int clockX = screen_.columnCount() - displayWidth(time) - 1;
  const SimStatusItem* item = statusItem();
  int itemWidth = 2;
  if (item != nullptr) {
    const SimStatusButton& button = item->simButton();
    if (button.image()) itemWidth += displayWidth(renderSymbolGlyphs(*button.image(), false));
    itemWidth += displayWidth(button.title());
  }
  statusLeft_ = std::max(0, clockX - 1 - itemWidth);
  statusRight_ = statusLeft_ + itemWidth;
}

// At rest the status item is part of the bar; while its menu is open it stands out from it, as
// a pressed button does.
void TerminalFrontEnd::drawStatusItem(int x) {
  const SimStatusItem* item = statusItem();
  if (item == nullptr) return;
  const SimStatusButton& button = item->simButton();
  const bool bar = !tracking_.isOpen();
  screen_.put(0, x, " ", Look().withReverse(bar));
  x += 1;
  if (button.image()) {
    const platform::SymbolImage& image = *button.image();
    const std::optional<SymbolGlyph> glyph = symbolGlyph(image.symbolName);
    const bool large =
        image.configuration && image.configuration->scale == platform::SymbolScale::large;
    for (std::size_t layer = 0; glyph && layer < glyph->layerCount; ++layer) {
      Look look = Look().withBold(large).withReverse(bar);
      if (image.configuration && image.configuration->palette.size() > 0) {
        const platform::Palette& palette = image.configuration->palette;
        look.color = palette[std::min(layer, palette.size() - 1)];
      }
      x += screen_.put(0, x, glyph->layers[layer], look);
    }
  }
  if (!button.title().empty()) {
    x += screen_.put(0, x, button.title(),
                     Look().withColor(button.contentTintColor()).withReverse(bar));
  }
  screen_.put(0, x, " ", Look().withReverse(bar));
}

void TerminalFrontEnd::drawMenuBar() {
  const int width = screen_.columnCount();
  screen_.repeat(0, 0, " ", width, Look().withReverse(true));
  screen_.put(0, 1, "\u25C6", Look().withReverse(true));
  if (mac_.application.showsInDock() && mac_.application.isActive()) {
    screen_.put(0, 3, "Lumora Virir", Look().withBold(true).withReverse(true));
  } else if (mac_.systemEvents.isAsleep()) {
    screen_.put(0, 3, "asleep (s wakes it)", Look().withDim(true).withReverse(true));
  }
  shownClock_ = clock();
  screen_.put(0, width - displayWidth(shownClock_) - 1, shownClock_, Look().withReverse(true));
  drawStatusItem(statusLeft_);
}

void TerminalFrontEnd::drawPanel(const std::vector<Area>& covers) {
  const int width = screen_.columnCount();
  const auto put = [&](int y, int x, std::string_view text, const Look& look) {
    if (y >= screen_.rowCount() - 1) return;
    screen_.put(y, x, uncoveredText(covers, y, x, text, width), look);
  };
  const std::vector<PanelLine> lines =
      displayPanelLines(*shownDisplays_, mac_.application.showsInDock());
  int y = 2;
  put(y++, 2, "Simulated display", Look().withBold(true));
  const int labelWidth = 17;
  for (const PanelLine& line : lines) {
    put(y, 2, line.label, Look().withColor(platform::NamedColor::secondaryLabel));
    put(y, 2 + labelWidth, line.value,
        Look().withColor(line.highlight ? std::optional(platform::NamedColor::cyan)
                                        : std::nullopt));
    ++y;
  }
  // The transfer curve of the first display with a table, where there is room for it.
  const int curveColumns = 21;
  const int curveRows = 7;
  const int curveX = width - curveColumns - 3;
  if (curveX < 2 + labelWidth + 36) return;
  for (const SimDisplayState::DisplaySnapshot& display : shownDisplays_->displays) {
    if (!display.transferTables) continue;
    put(3, curveX, "Gamma of " + std::to_string(display.id),
        Look().withColor(platform::NamedColor::secondaryLabel));
    int row = 4;
    for (const std::string& line :
         transferCurve(display.transferTables->red, curveColumns, curveRows)) {
      put(row++, curveX, line, Look().withColor(platform::NamedColor::systemIndigo));
    }
    put(row, curveX, "\u2022 table  \u00B7 identity", Look().withDim(true));
    break;
  }
}

std::vector<TerminalFrontEnd::WindowBox> TerminalFrontEnd::layOutWindows() const {
  std::vector<WindowBox> boxes;
  const int roomHeight = screen_.rowCount() - 2;
  for (const std::shared_ptr<SimWindow>& window : mac_.windows.visibleWindows()) {
    const platform::Rect frame = window->frame();
    const int columns = static_cast<int>(std::clamp(frame.width / pointsPerColumn, 10.0, 200.0));
    const int rows = static_cast<int>(std::clamp(frame.height / pointsPerRow, 3.0, 100.0));
    Area area;
    area.width = std::min(columns + 2, screen_.columnCount());
    area.height = std::min(rows + 2, roomHeight);
    area.left = std::max(0, (screen_.columnCount() - area.width) / 2);
    area.top = std::max(1, 1 + (roomHeight - area.height) / 2);
    boxes.push_back(WindowBox{window, area});
  }
  return boxes;
}

void TerminalFrontEnd::drawWindow(const WindowBox& box) {
  const CursesScreen::Clip clip(screen_, box.area);
  const Area& area = box.area;
  const SimWindow& window = *box.window;
  for (int y = area.top; y < area.bottom(); ++y)
    screen_.repeat(y, area.left, " ", area.width);
  const bool key = window.isKey();
  screen_.frame(area.top, area.left, area.height, area.width, Look().withDim(!key));
  if (window.isClosable()) {
    screen_.put(area.top, area.left + 2, "\u2715",
                Look().withColor(platform::NamedColor::systemRed));
    closeControls_.push_back(CloseControl{area.top, area.left + 2, box.window});
  }
  const std::string title = " " + window.title() + " ";
  screen_.put(area.top, area.left + std::max(4, (area.width - displayWidth(title)) / 2), title,
              Look().withBold(key));
  if (!window.contentView()) return;
  // Frames count from the bottom left of the content, in points.
  const double contentHeight = window.frame().height;
  const int innerRows = area.height - 2;
  const Area inside{area.top + 1, area.left + 1, area.height - 2, area.width - 2};
  const CursesScreen::Clip content(screen_, inside);
  for (const platform::View& view : window.contentView()->subviews) {
    const double fromTop = (contentHeight - (view.frame.y + view.frame.height)) / pointsPerRow;
    const int y = inside.top + std::clamp(static_cast<int>(std::clamp(fromTop, 0.0, 1000.0)), 0,
                                          std::max(0, innerRows - 1));
    const int x =
        inside.left + static_cast<int>(std::clamp(view.frame.x / pointsPerColumn, 0.0, 1000.0));
    const int span =
        std::min(static_cast<int>(std::clamp(view.frame.width / pointsPerColumn, 1.0, 1000.0)),
                 inside.right() - x);
    if (view.kind == platform::View::Kind::separator) {
      screen_.repeat(y, x, "\u2500", span, Look().withDim(true));
    } else if (view.kind == platform::View::Kind::label) {
      screen_.put(y, x, ellipsized(view.text, span),
                  Look().withColor(view.textColor).withBold(view.font && view.font->bold));
    }
  }
}

void TerminalFrontEnd::drawMenuBox(const MenuBox& box, std::size_t level) {
  const Area& area = box.area;
  const CursesScreen::Clip clip(screen_, area);
  for (int y = area.top; y < area.bottom(); ++y)
    screen_.repeat(y, area.left, " ", area.width);
  screen_.frame(area.top, area.left, area.height, area.width);
  // A long menu scrolls; arrows on its borders say there is more.
  const int markerX = area.right() - 4;
  if (box.moreAbove()) screen_.put(area.top, markerX, "\u25B2", Look().withBold());
  if (box.moreBelow()) screen_.put(area.bottom() - 1, markerX, "\u25BC", Look().withBold());
  const int selected = level < tracking_.selection().size() ? tracking_.selection()[level] : -1;
  for (int shown = 0; shown < box.visibleRows; ++shown) {
    const int row = box.firstRow + shown;
    if (row >= static_cast<int>(box.menu->items.size())) break;
    const platform::MenuItem& item = box.menu->items[static_cast<std::size_t>(row)];
    const int y = area.top + 1 + shown;
    if (item.isSeparator) {
      screen_.put(y, area.left, "\u251C", Look());
      screen_.repeat(y, area.left + 1, "\u2500", area.width - 2, Look().withDim(true));
      screen_.put(y, area.right() - 1, "\u2524", Look());
      continue;
    }
    const bool enabled = menus::isEnabled(item, mac_.application);
    const bool highlighted = row == selected && enabled;
    const Look look = Look().withDim(!enabled).withReverse(highlighted);
    int x = area.left + 1;
    screen_.repeat(y, x, " ", area.width - 2, look);
    x += 1;
    screen_.put(y, x, menus::stateMark(item.state), look);
    x += 2;
    if (item.image) {
      Look imageLook = look;
      if (item.image->configuration && item.image->configuration->palette.size() > 0) {
        imageLook.color = item.image->configuration->palette[0];
      }
      screen_.put(y, x, renderSymbolGlyphs(*item.image, false), imageLook);
    }
    x += box.imageWidth;
    screen_.put(y, x, ellipsized(item.title, box.titleWidth), look);
    x += box.titleWidth;
    if (!item.keyEquivalent.empty()) {
      const std::string label = terminalKeyLabel(item.keyEquivalent);
      screen_.put(y, x + box.keyWidth - displayWidth(label), label, look);
    }
    x += box.keyWidth;
    if (item.submenu) screen_.put(y, x + 1, "\u25B8", look);
  }
}

TerminalFrontEnd::TextBox TerminalFrontEnd::layOutAlert() const {
  const platform::Alert& alert = *mac_.alerts.currentAlert();
  TextBox box;
  box.area.width = std::min(screen_.columnCount() - 2, 62);
  const int inner = box.area.width - 4;
  const int room = screen_.rowCount() - 2;
  box.heading = wrapText(alert.messageText, inner - 3);
  box.lines = wrapText(alert.informativeText, inner);
  // Border, message, a blank line, the text, a blank line, the buttons, border; the message
  // keeps at least one line of text beside it.
  const int fixed = 5;
  box.heading.resize(
      std::min(box.heading.size(), static_cast<std::size_t>(std::max(1, room - fixed - 1))));
  const int headingRows = static_cast<int>(box.heading.size());
  box.textRows =
      std::clamp(static_cast<int>(box.lines.size()), 0, std::max(0, room - fixed - headingRows));
  box.area.height = fixed + headingRows + box.textRows;
  box.area.left = std::max(0, (screen_.columnCount() - box.area.width) / 2);
  box.area.top = std::max(1, 1 + (room - box.area.height) / 2);
  box.textTop = box.area.top + 2 + headingRows;
  box.first = std::clamp(alertFirst_, 0, static_cast<int>(box.lines.size()) - box.textRows);
  return box;
}

void TerminalFrontEnd::drawScrollMarkers(const TextBox& box) {
  const int x = box.area.right() - 1;
  if (box.first > 0) screen_.put(box.textTop, x, "\u25B2", Look().withBold());
  if (box.first + box.textRows < static_cast<int>(box.lines.size())) {
    screen_.put(box.textTop + box.textRows - 1, x, "\u25BC", Look().withBold());
  }
}

void TerminalFrontEnd::drawAlert(const TextBox& box) {
  const platform::Alert& alert = *mac_.alerts.currentAlert();
  const Area& area = box.area;
  const CursesScreen::Clip clip(screen_, area);
  for (int y = area.top; y < area.bottom(); ++y)
    screen_.repeat(y, area.left, " ", area.width);
  screen_.frame(area.top, area.left, area.height, area.width, Look().withBold(true));
  drawScrollMarkers(box);
  const Area inside{area.top + 1, area.left + 2, area.height - 2, area.width - 4};
  const CursesScreen::Clip text(screen_, inside);
  const bool warning = alert.style != platform::AlertStyle::informational;
  screen_.put(inside.top, inside.left, warning ? "\u26A0" : "\u24D8",
              Look()
                  .withColor(warning ? platform::NamedColor::systemRed : platform::NamedColor::cyan)
                  .withBold(true));
  int y = inside.top;
  for (const std::string& line : box.heading)
    screen_.put(y++, inside.left + 3, line, Look().withBold(true));
  for (int i = 0; i < box.textRows; ++i) {
    screen_.put(box.textTop + i, inside.left, box.lines[static_cast<std::size_t>(box.first + i)]);
  }
  // Buttons from the right, the first (the default) right-most, as macOS lays them out.
  int x = inside.right();
  const int buttonsY = inside.bottom() - 1;
  for (std::size_t i = 0; i < alert.buttonTitles.size(); ++i) {
    const std::string label = "[ " + alert.buttonTitles[i] + " ]";
    x -= displayWidth(label);
    screen_.put(buttonsY, x, label,
                Look().withBold(i == 0).withReverse(static_cast<int>(i) == alertFocus_));
    alertButtons_.push_back(Button{buttonsY, std::max(x, inside.left), x + displayWidth(label),
                                   platform::alertFirstButtonReturn + static_cast<int>(i)});
    x -= 1;
  }
}

TerminalFrontEnd::TextBox TerminalFrontEnd::layOutHelp() const {
  TextBox box;
  box.area.width = std::min(screen_.columnCount() - 2, 80);
  for (HelpLine& line : helpLines(box.area.width - 4))
    box.lines.push_back(std::move(line.text));
  const int room = screen_.rowCount() - 2;
  box.textRows = std::min(static_cast<int>(box.lines.size()), room - 2);
  box.area.height = box.textRows + 2;
  box.area.left = std::max(0, (screen_.columnCount() - box.area.width) / 2);
  box.area.top = std::max(1, 1 + (room - box.area.height) / 2);
  box.textTop = box.area.top + 1;
  box.first = std::clamp(helpFirst_, 0, static_cast<int>(box.lines.size()) - box.textRows);
  return box;
}

void TerminalFrontEnd::drawHelp(const TextBox& box) {
  const std::vector<HelpLine> lines = helpLines(box.area.width - 4);
  const Area& area = box.area;
  const CursesScreen::Clip clip(screen_, area);
  for (int y = area.top; y < area.bottom(); ++y)
    screen_.repeat(y, area.left, " ", area.width);
  screen_.frame(area.top, area.left, area.height, area.width);
  screen_.put(area.top, area.left + 2, " Keys ", Look().withBold(true));
  drawScrollMarkers(box);
  const CursesScreen::Clip text(screen_,
                                Area{area.top + 1, area.left + 2, area.height - 2, area.width - 4});
  for (int i = 0; i < box.textRows; ++i) {
    const HelpLine& line = lines[static_cast<std::size_t>(box.first + i)];
    screen_.put(box.textTop + i, area.left + 2, line.text, Look().withBold(line.heading));
  }
}

void TerminalFrontEnd::drawFooter() {
  const int y = screen_.rowCount() - 1;
  // The Dock, at the right: the app has a place in it only while it is a regular app.
  constexpr std::string_view dock = "Dock: \u25C9 Lumora Virir";
  const bool inDock = mac_.application.showsInDock();
  const int dockX = screen_.columnCount() - displayWidth(dock) - 1;
  if (inDock) screen_.put(y, dockX, dock, Look().withBold());
  const int room = (inDock ? dockX - 2 : screen_.columnCount()) - 2;

  std::vector<std::string_view> hints;
  const bool alert = mac_.alerts.currentAlert() != nullptr;
  if (helpShown_) {
    if (helpScrolls_) hints.push_back("\u2191\u2193: scroll");
    hints.push_back(helpScrolls_ ? "any other key: close" : "any key: close");
  } else if (alert) {
    hints = {"\u2190\u2192: button", "Enter: press"};
    if (alertScrolls_) hints.push_back("\u2191\u2193: scroll");
    hints.push_back("?: keys");
  } else if (tracking_.isOpen()) {
    hints = {"\u2191\u2193: move",
             tracking_.selection().size() > 1 ? "\u2190: back" : "\u2192: submenu", "Enter: pick",
             "Esc: close", "?: keys"};
  } else {
    if (!message_.empty()) {
      screen_.put(y, 1, ellipsized(message_, room),
                  Look().withColor(platform::NamedColor::systemRed));
      return;
    }
    if (mac_.windows.keyWindow() != nullptr) hints.push_back("Esc: close window");
    for (const std::string_view hint : {"Enter: menu", "?: keys", "1-5: level", "x: XDR",
                                        "d: Deep Blacks", "q: quit", ",: settings"}) {
      hints.push_back(hint);
    }
  }
  screen_.put(y, 1, fitHints(hints, room), Look().withDim());
}

}  // namespace lumora::sim::terminal
