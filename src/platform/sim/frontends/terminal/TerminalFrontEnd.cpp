#include "platform/sim/frontends/terminal/TerminalFrontEnd.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/sim/MenuModel.h"
#include "platform/sim/frontends/DisplayChanges.h"
#include "platform/sim/frontends/terminal/DirectKeys.h"
#include "platform/sim/frontends/terminal/DisplayPanel.h"
#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

// The write end of the resize pipe, for the signal handler.
int resizeWriteFd = -1;

void onWindowChange(int) {
  const int savedErrno = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(resizeWriteFd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminalFrontEnd::TerminalFrontEnd(SimMac& mac)
    : mac_(mac), errorsToStandardError_(::isatty(STDERR_FILENO) != 1) {
  mac_.terminationSignals.setBeforeExit(&CursesScreen::restoreTerminalNow);
  mac_.console.setSink([this](std::string_view line, bool isError) { takeLine(line, isError); });
  watchResizes();
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
    alert_.reset();
    dirty_ = true;
    // An alert takes the screen at once, even when the main queue waits for it.
    redraw();
  });
  // The first pass of the run loop draws the screen, before anything happens.
  mac_.loop.async([] {});
}

void TerminalFrontEnd::watchResizes() {
  int fds[2];
  if (::pipe(fds) != 0) return;
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
    // Whatever is open stays open, to be shown again once the terminal is large enough.
    screen_.resize();
    dirty_ = true;
  });
}

// What the app says on standard output or error goes to the message list instead of over the
// screen. Lines may come from the termination thread too: the main queue hands them over.
void TerminalFrontEnd::takeLine(std::string_view line, bool isError) {
  if (isError && errorsToStandardError_) standardError_.printErrorLine(line);
  mac_.loop.async([this, text = std::string(line), isError] {
    messages_.add(localTime(false), text, isError);
    dirty_ = true;
  });
}

const platform::Menu* TerminalFrontEnd::installedMenu() const {
  const auto& items = mac_.statusBar.items();
  return items.empty() || !items.front()->menu() ? nullptr : &*items.front()->menu();
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
  if (MenuBar::clock() != menuBar_.shownClock()) dirty_ = true;
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

// The keys that mean the same everywhere come first: Q quits, Escape and q dismiss a message in
// the footer, ? opens the help. Then each open layer, top first, takes the input or passes it
// down; what no layer takes is the main screen's.
void TerminalFrontEnd::handle(const Input& input) {
  if (keys::isKey(input, KEY_RESIZE)) {
    screen_.resize();
    dirty_ = true;
    return;
  }
  if (keys::isKey(input, 0)) return;  // a mouse event other than a click
  dirty_ = true;
  if (keys::isCharacter(input, 'Q')) return quit();
  if (tooSmall()) return;  // only Q, Ctrl-C or a larger terminal does anything now
  if (messages_.undismissed() != nullptr && keys::isBack(input)) return messages_.dismiss();
  const bool asksForHelp = keys::isCharacter(input, '?') || keys::isKey(input, KEY_F(1)) ||
                           (keys::isCharacter(input, 'h') && !menu_.isOpen());
  if (asksForHelp && !help_.isOpen()) return help_.open(helpSection());
  for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
    if (!(*layer)->isOpen()) continue;
    if ((*layer)->handle(input) || (*layer)->isModal()) return;
  }
  handleMainScreen(input);
}

void TerminalFrontEnd::handleMainScreen(const Input& input) {
  if (menuBar_.isOnStatusItem(input)) return menu_.open(false);
  if (keys::isEnter(input) || keys::isKey(input, KEY_F(10))) return menu_.open(true);
  if (keys::isCharacter(input, 'm')) return messageList_.open();
  if (keys::isCharacter(input, 'r')) return diagnosis_.open();
  if (keys::isCharacter(input, 's')) {
    if (mac_.systemEvents.isAsleep()) {
      mac_.systemEvents.wake();
    } else {
      mac_.systemEvents.sleep();
    }
    return;
  }
  if (keys::isCharacter(input, 'l')) {
    if (mac_.systemEvents.isLocked()) {
      mac_.systemEvents.unlock();
    } else {
      mac_.systemEvents.lock();
    }
    return;
  }
  if (keys::isCharacter(input, 'n')) return mac_.systemEvents.changeSpace();
  // The charger and the room, as the simulated Mac's file holds them: the app hears of it as
  // it would on a Mac.
  if (keys::isCharacter(input, 'p')) {
    const platform::PowerState power = mac_.displayState.power();
    mac_.displayState.setPowerSource(!power.onBattery, std::nullopt);
    return;
  }
  if (keys::isCharacter(input, 't')) {
    const auto now = static_cast<std::size_t>(mac_.displayState.power().thermalState);
    mac_.displayState.setThermalState(
        platform::allThermalStates[(now + 1) % platform::allThermalStates.size()]);
    return;
  }
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr || input.kind != Input::Kind::character || input.character >= 128) return;
  // The same entry, picked the same way, as in the menu: the app alone decides what it does.
  if (const auto entry = directKeyEntry(*menu, static_cast<char>(input.character))) {
    menus::pick(*entry, mac_.application);
  }
}

// Quit as its menu entry does, from wherever the user is.
void TerminalFrontEnd::quit() {
  menu_.close();
  const platform::Menu* menu = installedMenu();
  if (const auto entry = menu ? directKeyEntry(*menu, 'q') : std::nullopt) {
    menus::pick(*entry, mac_.application);
  } else {
    mac_.application.terminate();
  }
}

// The help's section for where the user is.
std::string_view TerminalFrontEnd::helpSection() const {
  if (alert_.isOpen()) return "In an alert";
  if (menu_.isOpen()) return "In the menu";
  if (diagnosis_.isOpen()) return "In the diagnosis";
  if (messageList_.isOpen()) return "In the message list";
  if (windows_.isOpen()) return "In the settings window";
  return "On the main screen";
}

const Overlay* TerminalFrontEnd::topLayer() const {
  for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
    if ((*layer)->isOpen()) return *layer;
  }
  return nullptr;
}

std::vector<std::string_view> TerminalFrontEnd::footerHints() const {
  std::vector<std::string_view> hints;
  const bool message = messages_.undismissed() != nullptr;
  if (message) hints.push_back("Esc: dismiss");
  const Overlay* top = topLayer();
  if (top != nullptr) {
    for (const std::string_view hint : top->hints())
      hints.push_back(hint);
    if (top->isModal()) return hints;
  }
  // With a message shown, where to read it whole comes next.
  if (message) hints.push_back("m: messages");
  // Under a window or the message list q closes it, and Q quits.
  for (const std::string_view hint :
       {"Enter: menu", "?: keys", "1-5: level", "x: XDR", "d: Deep Blacks",
        message ? "" : "m: messages", top != nullptr ? "Q: quit" : "q: quit", ",: settings",
        "r: diagnosis"}) {
    if (!hint.empty()) hints.push_back(hint);
  }
  return hints;
}

void TerminalFrontEnd::redraw() {
  dirty_ = false;
  screen_.erase();
  if (tooSmall()) {
    drawTooSmall();
    screen_.present();
    return;
  }
  const int columns = screen_.columnCount();
  const int rows = screen_.rowCount();
  shownDisplays_ = mac_.displayState.currentSnapshot();
  const int footerRows = footer_.layOut(columns, messages_.undismissed());
  const Area room{1, 0, rows - 1 - footerRows, columns};
  menuBar_.layOut(columns);
  menu_.setAnchor(menuBar_.statusItemRight());

  // The layers first, so the panel's words keep clear of them.
  std::vector<Area> covers;
  for (Overlay* layer : layers_) {
    if (!layer->isOpen()) continue;
    layer->layOut(room);
    for (const Area& area : layer->areas())
      covers.push_back(area);
  }
  const bool inDock = mac_.application.showsInDock();
  drawDisplayPanel(screen_, displayPanelLines(*shownDisplays_, inDock), *shownDisplays_, room,
                   covers);
  menuBar_.draw(screen_, menu_.isOpen());
  footer_.draw(screen_, rows, footerHints(), inDock);
  for (Overlay* layer : layers_) {
    if (layer->isOpen()) layer->draw(screen_);
  }
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
  lines.push_back("Q or Ctrl-C quits");
  const int top = std::max(0, (screen_.rowCount() - static_cast<int>(lines.size())) / 2);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int x = std::max(0, (screen_.columnCount() - displayWidth(lines[i])) / 2);
    screen_.put(top + static_cast<int>(i), x, lines[i], Look().withBold(i == 0));
  }
  menuBar_.forgetClock();
}

}  // namespace lumora::sim::terminal
