#define NCURSES_WIDECHAR 1
#include "platform/sim/frontends/terminal/CursesScreen.h"

#include <ncursesw/curses.h>
#include <ncursesw/term.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
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
  greyPair,
  indigoPair,
  redPair,
};

// A terminal type's entry, loaded to read its capabilities and released again.
class TerminalEntry {
 public:
  explicit TerminalEntry(const char* type) {
    int error = 0;
    loaded_ = setupterm(type, STDOUT_FILENO, &error) == OK;
  }
  TerminalEntry(const TerminalEntry&) = delete;
  TerminalEntry& operator=(const TerminalEntry&) = delete;
  ~TerminalEntry() {
    if (loaded_) del_curterm(cur_term);
  }

  bool loaded() const { return loaded_; }
  bool has(const char* name) const {
    const char* value = capability(name);
    return loaded_ && value != nullptr && value != reinterpret_cast<const char*>(-1);
  }

 private:
  bool loaded_ = false;
};

bool noColorRequested() {
  const char* value = std::getenv("NO_COLOR");
  return value != nullptr && value[0] != '\0';
}

}  // namespace

std::optional<std::string> CursesScreen::whyTerminalCannotBeDrawnOn() {
  const char* type = std::getenv("TERM");
  if (type == nullptr || type[0] == '\0') return "TERM is not set, so the terminal type is unknown";
  const std::string name = type;
  const TerminalEntry entry(type);
  if (!entry.loaded()) return "the terminal type \"" + name + "\" is unknown here";
  if (!entry.has("cup") || !entry.has("clear")) {
    return "the terminal type \"" + name + "\" cannot place the cursor or clear the screen";
  }
  return std::nullopt;
}

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
  // Home and End as other terminals send them: inside a multiplexer TERM often names another.
  for (const char* home : {"\x1b[1~", "\x1b[7~", "\x1b[H", "\x1bOH"})
    define_key(home, KEY_HOME);
  for (const char* end : {"\x1b[4~", "\x1b[8~", "\x1b[F", "\x1bOF"})
    define_key(end, KEY_END);
  // Shift with Left and Right, which many descriptions lack (xterm's, then rxvt's).
  for (const char* left : {"\x1b[1;2D", "\x1b[d"})
    define_key(left, KEY_SLEFT);
  for (const char* right : {"\x1b[1;2C", "\x1b[c"})
    define_key(right, KEY_SRIGHT);
  nodelay(stdscr, TRUE);
  set_escdelay(25);
  curs_set(0);
  mousemask(BUTTON1_PRESSED | BUTTON1_CLICKED | BUTTON1_RELEASED, nullptr);
  mouseinterval(0);
  const char* dim = capability("dim");
  dimAvailable_ = dim != nullptr && dim != reinterpret_cast<const char*>(-1);
  colors_ = has_colors() && !noColorRequested();
  if (colors_) {
    start_color();
    use_default_colors();
    manyColors_ = COLORS >= 16;
    init_pair(cyanPair, COLOR_CYAN, -1);
    // Grey is bright black (colour 8); with eight colours there is none, and white would vanish
    // on a light background.
    init_pair(greyPair, manyColors_ ? 8 : COLOR_BLACK, -1);
    init_pair(indigoPair, COLORS >= 256 ? 63 : COLOR_BLUE, -1);
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

CursesScreen::Style CursesScreen::styleFor(platform::NamedColor color) const {
  // Grey: bright black where there is one, else dim text, else (neither) bold black, which most
  // eight-colour terminals show as grey.
  const Style grey = manyColors_     ? Style{greyPair, false, false}
                     : dimAvailable_ ? Style{0, true, false}
                                     : Style{greyPair, false, true};
  switch (color) {
    case platform::NamedColor::label:
      return {};
    case platform::NamedColor::secondaryLabel:
      return colors_ ? grey : Style{0, dimAvailable_, false};
    case platform::NamedColor::tertiaryLabel:
      return colors_ ? Style{grey.pair, true, grey.bold} : Style{0, dimAvailable_, false};
    // Without colours, what colour singles out stays singled out.
    case platform::NamedColor::cyan:
      return colors_ ? Style{cyanPair, false, false} : Style{0, false, true};
    case platform::NamedColor::systemIndigo:
      return colors_ ? Style{indigoPair, false, false} : Style{};
    case platform::NamedColor::systemRed:
      return colors_ ? Style{redPair, false, false} : Style{0, false, true};
  }
  return {};
}

void CursesScreen::apply(const Look& look) const {
  const Style style = look.color ? styleFor(*look.color) : Style{};
  attr_t attributes = A_NORMAL;
  if (look.bold || style.bold) attributes |= A_BOLD;
  if (look.dim || style.dim) attributes |= A_DIM;
  if (look.reverse) attributes |= A_REVERSE;
  attr_set(attributes, style.pair, nullptr);
}

int CursesScreen::put(int y, int x, std::string_view text, const Look& look) {
  Area limits{0, 0, LINES, COLS};
  if (clip_) {
    const int top = std::max(limits.top, clip_->top);
    const int left = std::max(limits.left, clip_->left);
    limits = Area{top, left, std::min(limits.bottom(), clip_->bottom()) - top,
                  std::min(limits.right(), clip_->right()) - left};
  }
  if (y < limits.top || y >= limits.bottom() || x >= limits.right()) return 0;
  int skipped = 0;
  std::string visible(text);
  if (x < limits.left) {
    skipped = limits.left - x;
    visible = dropCells(text, skipped);
  }
  const std::string fitted = fitToWidth(visible, limits.right() - (x + skipped));
  if (!fitted.empty()) {
    apply(look);
    mvaddstr(y, x + skipped, fitted.c_str());
    attr_set(A_NORMAL, 0, nullptr);
  }
  return skipped + displayWidth(fitted);
}

CursesScreen::Clip::Clip(CursesScreen& screen, const Area& area)
    : screen_(screen), previous_(screen.clip_) {
  screen_.clip_ = area;
}

CursesScreen::Clip::~Clip() {
  screen_.clip_ = previous_;
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
  if (value == 27) return afterEscape();
  return input;
}

// An Escape with more bytes right behind it is a key this terminal's description does not know,
// or an Alt combination: read to its end and drop it, so that "\e[15~" never acts as Escape,
// 1 and 5. A lone Escape is Escape.
std::optional<Input> CursesScreen::afterEscape() {
  const Input ignored{Input::Kind::key, 0, 0, 0, 0};
  wint_t value = 0;
  int result = wget_wch(stdscr, &value);
  if (result == ERR) return Input{Input::Kind::character, 27, 0, 0, 0};
  if (result == KEY_CODE_YES) {
    ungetch(static_cast<int>(value));  // Escape, and a key of its own right after it
    return Input{Input::Kind::character, 27, 0, 0, 0};
  }
  if (value == 'O') {
    wget_wch(stdscr, &value);  // SS3: one more byte
    return ignored;
  }
  if (value != '[') return ignored;
  // CSI: parameter and intermediate bytes, then one final byte from @ to ~.
  while ((result = wget_wch(stdscr, &value)) == OK && (value < 0x40 || value > 0x7E)) {
  }
  return ignored;
}

void CursesScreen::resize() {
  winsize size{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    resize_term(size.ws_row, size.ws_col);
  }
  clear();
}

}  // namespace lumora::sim::terminal
