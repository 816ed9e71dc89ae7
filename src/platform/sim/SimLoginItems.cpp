#include "platform/sim/SimLoginItems.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/sim/machine/AtomicFile.h"

namespace lumora::sim {
namespace {

// Characters that oblige an argument of Exec to be quoted.
constexpr std::string_view reservedCharacters = " \t\n\"'\\><~|&;$*?#()`";
// Characters escaped with a backslash inside a quoted argument.
constexpr std::string_view escapedInQuotes = "\"`$\\";

// The escapes of the format's string values, applied after the quoting.
std::string escapeStringValue(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string SimLoginItems::execValue(const std::string& program) {
  const bool quoted = program.find_first_of(reservedCharacters) != std::string::npos;
  std::string argument = quoted ? "\"" : "";
  for (const char c : program) {
    if (quoted && escapedInQuotes.find(c) != std::string_view::npos) argument += '\\';
    // A literal percent sign would otherwise start a field code.
    if (c == '%') argument += '%';
    argument += c;
  }
  if (quoted) argument += '"';
  return escapeStringValue(argument);
}

std::string SimLoginItems::desktopEntry(const std::string& program) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Lumora Virir\n"
         "Comment=XDR brightness in the menu bar\n"
         "Exec=" +
         execValue(program) +
         " --background\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

std::optional<std::string> SimLoginItems::registerMainApp() {
  if (const auto failure = writeFileAtomically(entryPath(), desktopEntry(program_.string()))) {
    return "cannot write " + entryPath().string() + ": " + failure->reason;
  }
  return std::nullopt;
}

std::optional<std::string> SimLoginItems::unregisterMainApp() {
  const std::filesystem::path path = entryPath();
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return std::nullopt;
  return "cannot remove " + path.string() + ": " + std::strerror(errno);
}

}  // namespace lumora::sim
