#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/HotKeys.h"

namespace lumora::ui {

// A combination or why the text is none: the reason names the part that is wrong.
struct ParsedHotKey {
  std::optional<platform::HotKey> hotKey;
  std::string refusal;
};

// Modifiers (ctrl, option, command, shift) and one key (a letter, a digit, up, down, left, right,
// f1 to f12) joined by "+", in any order and any case: "ctrl+option+command+up". At least one of
// ctrl and command is needed: without either, typing itself would be taken from every app, and
// macOS 15 does not deliver hot keys whose only modifiers are option and shift.
ParsedHotKey parseHotKey(std::string_view text);

}  // namespace lumora::ui
