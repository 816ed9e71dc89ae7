#include "ui/RemoteCommand.h"

#include <array>
#include <charconv>
#include <utility>
#include <vector>

#include "ui/OutsideText.h"

namespace lumora::ui {
namespace {

using Kind = RemoteCommand::Kind;
using Level = DeepBlacksController::Level;

constexpr std::string_view xdrName = "xdr";
constexpr std::string_view deepBlacksName = "deep-blacks";

constexpr std::array<std::pair<std::string_view, Kind>, 5> xdrActions{{
    {"on", Kind::xdrOn},
    {"off", Kind::xdrOff},
    {"toggle", Kind::xdrToggle},
    {"up", Kind::xdrUp},
    {"down", Kind::xdrDown},
}};

constexpr std::array<std::pair<std::string_view, Level>, 4> deepBlacksLevels{{
    {"off", Level::off},
    {"subtle", Level::subtle},
    {"medium", Level::medium},
    {"deep", Level::deep},
}};
constexpr std::string_view deepBlacksNextName = "next";

bool sameWord(std::string_view text, std::string_view word) {
  return text.size() == word.size() && lowerCaseASCII(text) == word;
}

ParsedCommand refused(std::string reason) {
  return ParsedCommand{std::nullopt, std::move(reason)};
}

ParsedCommand accepted(RemoteCommand command) {
  return ParsedCommand{command, {}};
}

std::vector<std::string_view> partsOf(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t slash = text.find('/');
    parts.push_back(text.substr(0, slash));
    if (slash == std::string_view::npos) return parts;
    text.remove_prefix(slash + 1);
  }
}

// A sign and digits only: what was meant as a number, even when it is not a level.
bool looksNumeric(std::string_view part) {
  if (part.empty()) return false;
  const char first = part.front();
  return (first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.';
}

ParsedCommand xdrLevel(std::string_view part) {
  const std::string range = "a level is a whole number of nits from " +
                            std::to_string(lowestCommandNits) + " to " +
                            std::to_string(highestCommandNits);
  std::string_view digits = part;
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  const bool allDigits =
      !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
  if (!allDigits) return refused(quoted(part) + " is not a whole number: " + range);
  std::int64_t nits = 0;
  const auto [end, problem] = std::from_chars(digits.data(), digits.data() + digits.size(), nits);
  if (negative || problem != std::errc() || end != digits.data() + digits.size() ||
      nits < lowestCommandNits || nits > highestCommandNits) {
    return refused(quoted(part) + " is out of range: " + range);
  }
  return accepted(RemoteCommand{.kind = Kind::xdrLevel, .nits = nits});
}

ParsedCommand xdrCommand(std::string_view action) {
  for (const auto& [name, kind] : xdrActions) {
    if (sameWord(action, name)) return accepted(RemoteCommand{.kind = kind});
  }
  if (looksNumeric(action)) return xdrLevel(action);
  return refused("unknown XDR action " + quoted(action) +
                 ": on, off, toggle, up, down or a level from " +
                 std::to_string(lowestCommandNits) + " to " + std::to_string(highestCommandNits));
}

ParsedCommand deepBlacksCommand(std::string_view action) {
  for (const auto& [name, level] : deepBlacksLevels) {
    if (sameWord(action, name))
      return accepted(RemoteCommand{.kind = Kind::deepBlacks, .level = level});
  }
  if (sameWord(action, deepBlacksNextName))
    return accepted(RemoteCommand{.kind = Kind::deepBlacksNext});
  return refused("unknown Deep Blacks level " + quoted(action) +
                 ": off, subtle, medium, deep or next");
}

std::string tooLong(std::size_t length) {
  return "the command is " + std::to_string(length) + " bytes long; at most " +
         std::to_string(maximumCommandLength) + " are read";
}

}  // namespace

ParsedCommand parseCommand(std::string_view text) {
  if (text.size() > maximumCommandLength) return refused(tooLong(text.size()));
  if (text.empty()) return refused("the command is empty: xdr/... or deep-blacks/...");
  const std::vector<std::string_view> parts = partsOf(text);
  const std::string_view area = parts[0];
  const bool xdr = sameWord(area, xdrName);
  if (!xdr && !sameWord(area, deepBlacksName)) {
    return refused("unknown command " + quoted(area) + ": xdr or deep-blacks");
  }
  if (parts.size() < 2 || parts[1].empty()) {
    return refused(quoted(area) + (xdr ? " needs an action, as xdr/up or xdr/1250"
                                       : " needs a level, as deep-blacks/medium"));
  }
  if (parts.size() > 2) {
    const std::size_t end = area.size() + 1 + parts[1].size();
    return refused("nothing may follow " + quoted(text.substr(0, end)) + ", and " +
                   quoted(text.substr(end)) + " does");
  }
  return xdr ? xdrCommand(parts[1]) : deepBlacksCommand(parts[1]);
}

ParsedCommand parseCommandURL(std::string_view url) {
  if (url.size() > maximumCommandLength) return refused(tooLong(url.size()));
  const std::size_t colon = url.find(':');
  if (colon == std::string_view::npos || !sameWord(url.substr(0, colon), urlScheme)) {
    const std::string_view scheme = colon == std::string_view::npos ? url : url.substr(0, colon);
    return refused(quoted(scheme) + " is not the " + std::string(urlScheme) +
                   ": scheme (lumora-virir://xdr/up)");
  }
  std::string_view rest = url.substr(colon + 1);
  if (rest.starts_with("//")) rest.remove_prefix(2);
  return parseCommand(rest);
}

std::string commandText(const RemoteCommand& command) {
  switch (command.kind) {
    case Kind::xdrLevel:
      return std::string(xdrName) + "/" + std::to_string(command.nits);
    case Kind::deepBlacks:
      for (const auto& [name, level] : deepBlacksLevels) {
        if (level == command.level) return std::string(deepBlacksName) + "/" + std::string(name);
      }
      return std::string(deepBlacksName) + "/off";
    case Kind::deepBlacksNext:
      return std::string(deepBlacksName) + "/" + std::string(deepBlacksNextName);
    case Kind::xdrOn:
    case Kind::xdrOff:
    case Kind::xdrToggle:
    case Kind::xdrUp:
    case Kind::xdrDown:
      break;
  }
  for (const auto& [name, kind] : xdrActions) {
    if (kind == command.kind) return std::string(xdrName) + "/" + std::string(name);
  }
  return std::string(xdrName);
}

}  // namespace lumora::ui
