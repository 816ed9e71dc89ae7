#define NCURSES_WIDECHAR 1
#include "platform/sim/frontends/terminal/CursesScreen.h"

#include <ncursesw/curses.h>
#include <ncursesw/term.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

// What restoreTerminalNow needs, prepared while the screen starts: the terminal's settings from
// before, and the bytes that undo what curses set up.
struct Restore {
  termios settings{};
  bool haveSettings = false;
  std::array<char, 256> sequence{};
  std::size_t length = 0;
};
Restore restore;

void appendToRestore(const char* bytes) {
  if (bytes == nullptr || bytes == reinterpret_cast<const char*>(-1)) return;
  const std::size_t length = std::strlen(bytes);
  if (restore.length + length > restore.sequence.size()) return;
  std::memcpy(restore.sequence.data() + restore.length, bytes, length);
  restore.length += length;
}

char* capability(const char* name) {
  return tigetstr(const_cast<char*>(name));
}

enum Pair : short {
  cyanPair = 1,
  labelPair,
  secondaryPair,
  tertiaryPair,
  indigoPair,
  redPair,
};

}  // namespace

void CursesScreen::restoreTerminalNow() {
  if (restore.length > 0) {
    [[maybe_unused]] const ssize_t written =
        ::write(STDOUT_FILENO, restore.sequence.data(), restore.length);
  }
  if (restore.haveSettings) ::tcsetattr(STDIN_FILENO, TCSANOW, &restore.settings);
}

CursesScreen::CursesScreen() {
  restore.haveSettings = ::tcgetattr(STDIN_FILENO, &restore.settings) == 0;
  initscr();
  cbreak();  // Ctrl-C still raises SIGINT, which ends the app the usual way
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  nodelay(stdscr, TRUE);
  set_escdelay(25);
  curs_set(0);
  mousemask(BUTTON1_PRESSED | BUTTON1_CLICKED | BUTTON1_RELEASED, nullptr);
  mouseinterval(0);
  if (has_colors()) {
    start_color();
    use_default_colors();
    const bool manyColors = COLORS >= 256;
    init_pair(cyanPair, COLOR_CYAN, -1);
    init_pair(labelPair, -1, -1);
    init_pair(secondaryPair, COLORS >= 16 ? 8 : COLOR_WHITE, -1);
    init_pair(tertiaryPair, COLORS >= 16 ? 8 : COLOR_WHITE, -1);
    init_pair(indigoPair, manyColors ? 63 : COLOR_BLUE, -1);
    init_pair(redPair, COLOR_RED, -1);
  }
  restore.length = 0;
  appendToRestore("\x1b[?1000l\x1b[?1002l\x1b[?1003l\x1b[?1006l");  // mouse reports off
  appendToRestore(capability("sgr0"));
  appendToRestore(capability("cnorm"));
  appendToRestore(capability("rmkx"));
  appendToRestore(capability("rmcup"));
  std::atexit([] { endwin(); });
  std::set_terminate([] {
    restoreTerminalNow();
    std::abort();
  });
}

CursesScreen::~CursesScreen() {
  endwin();
}

int CursesScreen::rowCount() const {
  return LINES;
}

int CursesScreen::columnCount() const {
  return COLS;
}

void CursesScreen::erase() {
  werase(stdscr);
}

short CursesScreen::colorPairFor(platform::NamedColor color) const {
  switch (color) {
    case platform::NamedColor::cyan:
      return cyanPair;
    case platform::NamedColor::label:
      return labelPair;
    case platform::NamedColor::secondaryLabel:
      return secondaryPair;
    case platform::NamedColor::tertiaryLabel:
      return tertiaryPair;
    case platform::NamedColor::systemIndigo:
      return indigoPair;
    case platform::NamedColor::systemRed:
      return redPair;
  }
  return labelPair;
}

void CursesScreen::apply(const Look& look) const {
  attr_t attributes = A_NORMAL;
  if (look.bold) attributes |= A_BOLD;
  if (look.dim || look.color == platform::NamedColor::tertiaryLabel) attributes |= A_DIM;
  if (look.reverse) attributes |= A_REVERSE;
  const short pair = look.color && has_colors() ? colorPairFor(*look.color) : 0;
  attr_set(attributes, pair, nullptr);
}

int CursesScreen::put(int y, int x, std::string_view text, const Look& look) {
  if (y < 0 || y >= LINES || x >= COLS) return 0;
  if (x < 0) return 0;
  const std::string fitted = fitToWidth(text, COLS - x);
  apply(look);
  mvaddstr(y, x, fitted.c_str());
  attr_set(A_NORMAL, 0, nullptr);
  return displayWidth(fitted);
}

void CursesScreen::repeat(int y, int x, std::string_view character, int count, const Look& look) {
  std::string line;
  for (int i = 0; i < count; ++i)
    line += character;
  put(y, x, line, look);
}

void CursesScreen::frame(int top, int left, int height, int width, const Look& look) {
  if (height < 2 || width < 2) return;
  repeat(top, left + 1, "\u2500", width - 2, look);
  repeat(top + height - 1, left + 1, "\u2500", width - 2, look);
  for (int y = top + 1; y < top + height - 1; ++y) {
    put(y, left, "\u2502", look);
    put(y, left + width - 1, "\u2502", look);
  }
  put(top, left, "\u250C", look);
  put(top, left + width - 1, "\u2510", look);
  put(top + height - 1, left, "\u2514", look);
  put(top + height - 1, left + width - 1, "\u2518", look);
}

void CursesScreen::present() {
  refresh();
}

std::optional<Input> CursesScreen::nextInput() {
  wint_t value = 0;
  const int result = wget_wch(stdscr, &value);
  if (result == ERR) return std::nullopt;
  Input input;
  if (result == KEY_CODE_YES) {
    if (static_cast<int>(value) == KEY_MOUSE) {
      MEVENT event{};
      if (getmouse(&event) != OK) return Input{Input::Kind::key, 0, 0, 0, 0};
      if ((event.bstate & (BUTTON1_PRESSED | BUTTON1_CLICKED)) == 0) {
        return Input{Input::Kind::key, 0, 0, 0, 0};
      }
      input.kind = Input::Kind::click;
      input.y = event.y;
      input.x = event.x;
      return input;
    }
    input.kind = Input::Kind::key;
    input.key = static_cast<int>(value);
    return input;
  }
  input.kind = Input::Kind::character;
  input.character = static_cast<char32_t>(value);
  return input;
}

void CursesScreen::resize() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    resize_term(size.ws_row, size.ws_col);
  }
  clear();
}

}  // namespace lumora::sim::terminal
