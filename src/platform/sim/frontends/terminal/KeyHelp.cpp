#include "platform/sim/frontends/terminal/KeyHelp.h"

#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

constexpr int keyColumn = 20;

}  // namespace

const std::vector<KeySection>& keySections() {
  static const std::vector<KeySection> all{
      {"On the main screen",
       {
           {"Enter Space F10", "open the status menu (or click the status item)"},
           {"1 2 3 4 5", "the five levels, 100% to 320%, as in the menu"},
           {"x", "Enable or Disable XDR"},
           {"d", "the next Deep Blacks level (after Deep: Off)"},
           {",", "Settings..."},
           {"q", "Quit (the standard preset first)"},
           {"s", "put the simulated Mac to sleep, or wake it"},
           {"l", "lock its screen, or unlock it"},
           {"n", "switch to the next Space"},
           {"p", "unplug the simulated Mac, or plug it in"},
           {"t", "its thermal state: nominal, fair, serious, critical"},
           {"m", "the messages the app has shown, newest first"},
           {"r", "the diagnosis, as Copy Diagnostics copies it"},
       }},
      {"In the menu",
       {
           {"\u2191 \u2193  k j  Home End", "move through the entries"},
           {"a letter or digit", "the next entry that starts with it"},
           {"\u2192 l  \u2190 h", "open, close a submenu"},
           {"Enter Space", "open the submenu or pick the entry (or click it)"},
           {"\u2190 \u2192 h l  Shift", "on the slider: 50 nits, with Shift 10; Enter closes"},
           {"Esc q", "back: the submenu first, then the menu"},
           {"x ,", "the key equivalents: XDR, Settings..."},
       }},
      {"In an alert",
       {
           {"Tab \u2190 \u2192  Enter", "choose a button, press it (Space too)"},
           {"\u2191 \u2193 PgUp PgDn", "scroll a message too long for the screen"},
       }},
      {"In the settings window",
       {
           {"Esc q w Ctrl-W", "close it (or click \u2715)"},
           {"Enter Space", "press Copy Diagnostics (or click it)"},
           {"\u2191 \u2193 PgUp PgDn", "scroll it where the terminal is short"},
       }},
      {"In the message list",
       {
           {"Esc q m", "close it"},
           {"\u2191 \u2193 PgUp PgDn", "scroll it"},
       }},
      {"In the diagnosis",
       {
           {"Esc q r", "close it"},
           {"\u2191 \u2193 PgUp PgDn", "scroll it"},
       }},
      {"Anywhere",
       {
           {"? F1 h",
            "this help, at the keys of where you are (h not in the menu); \u2191 \u2193 PgUp PgDn "
            "scroll it"},
           {"Esc q", "dismiss the message in the footer, before anything else"},
           {"Q  Ctrl-C  Ctrl-\\", "quit (the standard preset first)"},
       }},
  };
  return all;
}

std::vector<HelpLine> helpLines(int width) {
  std::vector<HelpLine> lines;
  if (width <= 0) return lines;
  const bool sideBySide = width >= keyColumn + 30;
  for (const KeySection& section : keySections()) {
    lines.push_back({fitToWidth(section.title, width), true});
    for (const KeyLine& line : section.lines) {
      if (sideBySide) {
        const std::vector<std::string> does = wrapText(line.does, width - keyColumn - 2);
        for (std::size_t i = 0; i < does.size(); ++i) {
          const std::string keys = i == 0 ? std::string(line.keys) : "";
          lines.push_back({"  " + padToWidth(keys, keyColumn) + does[i], false});
        }
      } else {
        lines.push_back({"  " + fitToWidth(line.keys, width - 2), false});
        for (const std::string& does : wrapText(line.does, width - 4))
          lines.push_back({"    " + does, false});
      }
    }
  }
  return lines;
}

std::string fitHints(const std::vector<std::string_view>& hints, int width) {
  constexpr std::string_view gap = "   ";
  std::string line;
  for (const std::string_view hint : hints) {
    const std::string next =
        line.empty() ? std::string(hint) : line + std::string(gap) + std::string(hint);
    if (displayWidth(next) > width) break;
    line = next;
  }
  return line;
}

}  // namespace lumora::sim::terminal
