#pragma once

#include <string>
#include <string_view>

namespace lumora::sim::terminal {

// How many terminal cells UTF-8 text takes, by the C library's character widths (wcwidth), as
// the terminal and the curses library count them: emoji take two cells, combining marks and
// variation selectors none. Undecodable bytes count one cell each.
int displayWidth(std::string_view text);

// The longest prefix of `text` that fits in `width` cells, never splitting a character.
std::string fitToWidth(std::string_view text, int width);

// `text` fitted to `width` cells and padded with spaces to exactly that width.
std::string padToWidth(std::string_view text, int width);

}  // namespace lumora::sim::terminal
