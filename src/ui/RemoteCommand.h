#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "display/DeepBlacksController.h"

namespace lumora::ui {

// What a script, a Shortcut or a keyboard shortcut may ask of the app, without the menu:
//
//   xdr/on | xdr/off | xdr/toggle | xdr/up | xdr/down | xdr/<nits, 500 to 1600>
//   deep-blacks/off | deep-blacks/subtle | deep-blacks/medium | deep-blacks/deep | deep-blacks/next
//
// in any case, also as a URL of the app's scheme: lumora-virir://xdr/1250.
struct RemoteCommand {
  enum class Kind {
    xdrOn,
    xdrOff,
    xdrToggle,
    xdrLevel,
    xdrUp,
    xdrDown,
    deepBlacks,
    deepBlacksNext
  };
  Kind kind = Kind::xdrToggle;
  std::int64_t nits = 0;                                                 // xdrLevel
  DeepBlacksController::Level level = DeepBlacksController::Level::off;  // deepBlacks

  friend bool operator==(const RemoteCommand&, const RemoteCommand&) = default;
};

inline constexpr std::string_view urlScheme = "lumora-virir";
// Longer input is refused before it is looked at.
inline constexpr std::size_t maximumCommandLength = 256;
inline constexpr std::int64_t lowestCommandNits = 500;
inline constexpr std::int64_t highestCommandNits = 1600;

// A command, or why there is none: the reason names the part that is wrong.
struct ParsedCommand {
  std::optional<RemoteCommand> command;
  std::string refusal;
};

// "xdr/1250".
ParsedCommand parseCommand(std::string_view text);
// "lumora-virir://xdr/1250" (or "lumora-virir:xdr/1250").
ParsedCommand parseCommandURL(std::string_view url);

// The command as it is written: "xdr/1250".
std::string commandText(const RemoteCommand& command);

}  // namespace lumora::ui
