#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/SymbolImages.h"
#include "platform/sim/frontends/terminal/Area.h"

namespace lumora::sim::terminal {

// Looks of a piece of text: a colour and attributes, set in a chain as
// `Look().withColor(cyan).withBold()`.
struct Look {
  std::optional<platform::NamedColor> color;
  bool bold = false;
  bool dim = false;
  bool reverse = false;

  Look withColor(std::optional<platform::NamedColor> value) const {
    Look look = *this;
    look.color = value;
    return look;
  }
  Look withBold(bool value = true) const {
    Look look = *this;
    look.bold = value;
    return look;
  }
  Look withDim(bool value = true) const {
    Look look = *this;
    look.dim = value;
    return look;
  }
  Look withReverse(bool value = true) const {
    Look look = *this;
    look.reverse = value;
    return look;
  }
};

// One thing the user did.
struct Input {
  enum class Kind { character, key, click };
  Kind kind = Kind::character;
  char32_t character = 0;  // Kind::character
  int key = 0;             // Kind::key: a curses KEY_ code
  int y = 0;               // Kind::click
  int x = 0;
};

// The terminal while the front end runs: the curses screen, with the terminal handed back on
// every way out (the destructor, exit, a termination signal on another thread, std::terminate).
class CursesScreen {
 public:
  CursesScreen();
  CursesScreen(const CursesScreen&) = delete;
  CursesScreen& operator=(const CursesScreen&) = delete;
  ~CursesScreen();

  // Why the screen cannot be drawn on this terminal (TERM unset, unknown, or without cursor
  // addressing); none when it can. Call before making a screen.
  static std::optional<std::string> whyTerminalCannotBeDrawnOn();

  int rowCount() const;
  int columnCount() const;

  void erase();
  // Text from (y, x), clipped to the screen and the clip area; returns the cells it spans from x.
  int put(int y, int x, std::string_view text, const Look& look = {});
  // `count` copies of one character.
  void repeat(int y, int x, std::string_view character, int count, const Look& look = {});
  void frame(int top, int left, int height, int width, const Look& look = {});
  void present();

  // The next input, if any is waiting.
  std::optional<Input> nextInput();
  // Takes the terminal's new size.
  void resize();

  // Hands the terminal back using only async-signal-safe calls, from any thread, at any time.
  static void restoreTerminalNow();

  // While one lives, everything drawn is clipped to `area`: an overlay cannot spill out of its box.
  class Clip {
   public:
    Clip(CursesScreen& screen, const Area& area);
    Clip(const Clip&) = delete;
    Clip& operator=(const Clip&) = delete;
    ~Clip();

   private:
    CursesScreen& screen_;
    std::optional<Area> previous_;
  };

 private:
  // How a named colour is shown: a colour pair, and attributes where colours fall short.
  struct Style {
    short pair = 0;
    bool dim = false;
    bool bold = false;
  };

  std::optional<Input> afterEscape();
  void apply(const Look& look) const;
  Style styleFor(platform::NamedColor color) const;

  bool colors_ = false;  // colours in use: the terminal has them and NO_COLOR is not set
  bool manyColors_ = false;
  bool dimAvailable_ = false;
  std::optional<Area> clip_;
};

}  // namespace lumora::sim::terminal
