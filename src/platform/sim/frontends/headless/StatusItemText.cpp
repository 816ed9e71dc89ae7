#include "platform/sim/frontends/headless/StatusItemText.h"

#include "platform/sim/SymbolGlyphs.h"

namespace lumora::sim {

std::string describeStatusButton(const SimStatusButton& button, bool withColor) {
  std::string text;
  if (button.image()) {
    text = renderSymbolGlyphs(*button.image(), withColor);
    // The plain description repeats the glyphs; keep only what follows them.
    const std::string description = describeSymbolImage(*button.image());
    text += description.substr(description.find(' '));
  }
  if (!button.title().empty()) {
    if (!text.empty()) text += " ";
    std::string title = button.title();
    if (withColor && button.contentTintColor()) {
      title =
          "\x1b[" + std::string(ansiColor(*button.contentTintColor())) + "m" + title + "\x1b[0m";
    }
    text += "\"" + title + "\"";
  }
  if (button.contentTintColor()) {
    text += " tinted " + std::string(colorName(*button.contentTintColor()));
  }
  return text.empty() ? "(empty)" : text;
}

}  // namespace lumora::sim
