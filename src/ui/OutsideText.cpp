#include "ui/OutsideText.h"

#include <cstdio>

namespace lumora::ui {

std::string lowerCaseASCII(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string printable(std::string_view text, std::size_t longest) {
  std::string shown;
  for (std::size_t i = 0; i < text.size() && i < longest; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      shown += static_cast<char>(byte);
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    }
  }
  if (text.size() > longest) shown += "\u2026";
  return shown;
}

std::string quoted(std::string_view text) {
  return "\"" + printable(text) + "\"";
}

}  // namespace lumora::ui
