#pragma once

#include <ncursesw/curses.h>

#include "platform/sim/frontends/terminal/CursesScreen.h"

// What an input is, as the views of the terminal front end ask it.
namespace lumora::sim::terminal::keys {

inline constexpr char32_t escape = 27;
inline constexpr char32_t controlW = 23;

inline bool isKey(const Input& input, int key) {
  return input.kind == Input::Kind::key && input.key == key;
}

inline bool isCharacter(const Input& input, char32_t character) {
  return input.kind == Input::Kind::character && input.character == character;
}

inline bool isEnter(const Input& input) {
  return isCharacter(input, '\r') || isCharacter(input, '\n') || isCharacter(input, ' ') ||
         isKey(input, KEY_ENTER);
}

// Escape or q: what backs out of whatever is open.
inline bool isBack(const Input& input) {
  return isCharacter(input, escape) || isCharacter(input, 'q');
}

inline bool isClick(const Input& input) {
  return input.kind == Input::Kind::click;
}

}  // namespace lumora::sim::terminal::keys
