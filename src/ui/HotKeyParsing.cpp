#include "ui/HotKeyParsing.h"

#include <array>

#include "ui/OutsideText.h"
#include "ui/RemoteCommand.h"

namespace lumora::ui {
namespace {

constexpr std::array<std::string_view, 16> namedKeys{
    "up", "down", "left", "right", "f1", "f2",  "f3",  "f4",
    "f5", "f6",   "f7",   "f8",    "f9", "f10", "f11", "f12",
};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

bool isKeyName(const std::string& name) {
  if (name.size() == 1)
    return (name[0] >= 'a' && name[0] <= 'z') || (name[0] >= '0' && name[0] <= '9');
  for (const std::string_view key : namedKeys) {
    if (name == key) return true;
  }
  return false;
}

ParsedHotKey refused(std::string reason) {
  return ParsedHotKey{std::nullopt, std::move(reason)};
}

}  // namespace

ParsedHotKey parseHotKey(std::string_view text) {
  if (text.size() > maximumCommandLength) {
    return refused("it is " + std::to_string(text.size()) + " bytes long");
  }
  platform::HotKey hotKey;
  bool* const flags[] = {&hotKey.control, &hotKey.option, &hotKey.command, &hotKey.shift};
  constexpr std::string_view modifierNames[] = {"ctrl", "option", "command", "shift"};
  for (;;) {
    const std::size_t plus = text.find('+');
    const std::string_view raw = trimmed(text.substr(0, plus));
    const std::string part = lowerCaseASCII(raw);
    if (part.empty()) return refused("an empty part between the \"+\" signs");
    bool modifier = false;
    for (std::size_t i = 0; i < std::size(modifierNames); ++i) {
      if (part != modifierNames[i]) continue;
      if (*flags[i]) return refused(quoted(raw) + " is there twice");
      *flags[i] = modifier = true;
    }
    if (!modifier) {
      if (!isKeyName(part)) {
        return refused(quoted(raw) +
                       " is neither a modifier (ctrl, option, command, shift) nor a key (a letter, "
                       "a digit, up, down, left, right, f1 to f12)");
      }
      if (!hotKey.key.empty()) {
        return refused("two keys, " + quoted(hotKey.key) + " and " + quoted(raw) +
                       "; a shortcut has one");
      }
      hotKey.key = part;
    }
    if (plus == std::string_view::npos) break;
    text.remove_prefix(plus + 1);
  }
  if (hotKey.key.empty()) return refused("no key, only modifiers");
  // Without either, a shortcut would take typing from every app; and macOS 15 refuses hot keys
  // whose only modifiers are option and shift, so such a shortcut would never fire.
  if (!hotKey.control && !hotKey.command) {
    return refused(
        "it needs ctrl or command, as macOS 15 refuses shortcuts whose only modifiers are option "
        "and shift");
  }
  return ParsedHotKey{hotKey, {}};
}

}  // namespace lumora::ui
