#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumora::sim::terminal {

// How many terminal cells UTF-8 text takes, by the C library's character widths (wcwidth), as
// the terminal and the curses library count them: emoji take two cells, combining marks and
// variation selectors none. Undecodable bytes count one cell each.
int displayWidth(std::string_view text);

// The longest prefix of `text` that fits in `width` cells, never splitting a character.
std::string fitToWidth(std::string_view text, int width);

// The longest prefix of `text` that fits in `width` cells with an ellipsis after it, where the
// whole does not fit.
std::string ellipsized(std::string_view text, int width);

// `text` without its first `cells` cells; a wide character cut in two leaves spaces.
std::string dropCells(std::string_view text, int cells);

// The longest prefix of `text` made of whole words (split at spaces) that fits in `width`
// cells, without trailing spaces: what is left of a line that something covers from `width` on.
std::string wholeWordsWithin(std::string_view text, int width);

// `text` fitted to `width` cells and padded with spaces to exactly that width.
std::string padToWidth(std::string_view text, int width);

// `text` broken into lines of at most `width` cells: at its line feeds, and between words
// where a line would be too long (a word longer than a line is cut).
std::vector<std::string> wrapText(std::string_view text, int width);

// As wrapText, each line wrapped under its own leading spaces (where they leave at least half the
// width for its words); a last line feed ends the last line.
std::vector<std::string> wrapKeepingIndents(std::string_view text, int width);

}  // namespace lumora::sim::terminal
