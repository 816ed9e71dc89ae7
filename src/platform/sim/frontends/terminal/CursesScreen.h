#pragma once

#include <optional>
#include <string_view>

#include "platform/SymbolImages.h"

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

  int rowCount() const;
  int columnCount() const;

  void erase();
  // Text from (y, x), clipped to the screen; returns the cells written.
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

 private:
  void apply(const Look& look) const;
  short colorPairFor(platform::NamedColor color) const;
};

}  // namespace lumora::sim::terminal
