#include "platform/sim/frontends/terminal/TextWidth.h"

#include <algorithm>
#include <cwchar>

namespace lumora::sim::terminal {
namespace {

struct Decoded {
  char32_t codePoint;
  std::size_t length;  // bytes taken
  bool valid;
};

Decoded decode(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) return {lead, 1, true};
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07u;
  } else {
    return {0xFFFD, 1, false};
  }
  if (at + length > text.size()) return {0xFFFD, 1, false};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {0xFFFD, 1, false};
    value = (value << 6) | (byte(at + i) & 0x3Fu);
  }
  return {value, length, true};
}

int cellsOf(const Decoded& character) {
  if (!character.valid) return 1;
  const int width = ::wcwidth(static_cast<wchar_t>(character.codePoint));
  return width < 0 ? 1 : width;  // control characters are shown as one replacement cell
}

}  // namespace

int displayWidth(std::string_view text) {
  int width = 0;
  for (std::size_t at = 0; at < text.size();) {
    const Decoded character = decode(text, at);
    width += cellsOf(character);
    at += character.length;
  }
  return width;
}

std::string fitToWidth(std::string_view text, int width) {
  int used = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const Decoded character = decode(text, at);
    const int cells = cellsOf(character);
    if (used + cells > width) break;
    used += cells;
    at += character.length;
  }
  // Zero-width characters that follow (a variation selector) stay with their base.
  while (at < text.size()) {
    const Decoded next = decode(text, at);
    if (cellsOf(next) != 0) break;
    at += next.length;
  }
  return std::string(text.substr(0, at));
}

std::string ellipsized(std::string_view text, int width) {
  if (displayWidth(text) <= width) return std::string(text);
  if (width <= 0) return "";
  return fitToWidth(text, width - 1) + "\u2026";
}

std::string dropCells(std::string_view text, int cells) {
  int dropped = 0;
  std::size_t at = 0;
  while (at < text.size() && dropped < cells) {
    const Decoded character = decode(text, at);
    dropped += cellsOf(character);
    at += character.length;
  }
  // Zero-width characters that follow belong to a dropped base.
  while (at < text.size() && cellsOf(decode(text, at)) == 0)
    at += decode(text, at).length;
  std::string rest(static_cast<std::size_t>(std::max(0, dropped - cells)), ' ');
  rest += text.substr(at);
  return rest;
}

std::string wholeWordsWithin(std::string_view text, int width) {
  if (displayWidth(text) <= width) return std::string(text);
  const std::string fitted = fitToWidth(text, width);
  // A word cut at the edge goes; so do the spaces before it.
  std::size_t end = fitted.size();
  if (text.size() > end && text[end] != ' ') {
    const std::size_t space = fitted.rfind(' ');
    end = space == std::string::npos ? 0 : space;
  }
  while (end > 0 && fitted[end - 1] == ' ')
    --end;
  return fitted.substr(0, end);
}

std::string padToWidth(std::string_view text, int width) {
  std::string fitted = fitToWidth(text, width);
  const int missing = width - displayWidth(fitted);
  if (missing > 0) fitted.append(static_cast<std::size_t>(missing), ' ');
  return fitted;
}

std::vector<std::string> wrapText(std::string_view text, int width) {
  std::vector<std::string> lines;
  if (width <= 0) return lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view paragraph = text.substr(start, end - start);
    std::string line;
    while (!paragraph.empty()) {
      const std::size_t space = paragraph.find(' ');
      const std::string_view word = paragraph.substr(0, space);
      const std::string candidate =
          line.empty() ? std::string(word) : line + " " + std::string(word);
      if (displayWidth(candidate) <= width) {
        line = candidate;
      } else if (line.empty()) {
        line = fitToWidth(word, width);  // a word too long for a line
      } else {
        lines.push_back(line);
        line = fitToWidth(word, width);
      }
      paragraph =
          space == std::string_view::npos ? std::string_view() : paragraph.substr(space + 1);
    }
    lines.push_back(line);
    if (end == text.size()) break;
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> wrapKeepingIndents(std::string_view text, int width) {
  std::vector<std::string> lines;
  if (width <= 0) return lines;
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
    if (static_cast<int>(indent) > width / 2) indent = 0;
    const std::string spaces(indent, ' ');
    const std::vector<std::string> wrapped =
        wrapText(line.substr(indent), width - static_cast<int>(indent));
    for (const std::string& part : wrapped)
      lines.push_back(spaces + part);
    start = end + 1;
  }
  return lines;
}

}  // namespace lumora::sim::terminal
