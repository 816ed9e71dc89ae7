#include "platform/sim/SimLoginItems.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/FileDescriptor.h"
#include "platform/sim/machine/SmallFile.h"

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

// An entry is a few hundred bytes; anything far larger is not one.
constexpr std::size_t maximumEntryBytes = 64 * 1024;

// The entry's bytes; none when it is not a regular file that can be read whole.
std::optional<std::string> readEntry(const std::filesystem::path& path) {
  return readSmallFile(path, maximumEntryBytes);
}

// The value of `key` in the entry's [Desktop Entry] group, or none.
std::optional<std::string_view> entryValue(std::string_view entry, std::string_view key) {
  bool inMainGroup = false;
  while (!entry.empty()) {
    const std::size_t end = entry.find('\n');
    std::string_view line = entry.substr(0, end);
    entry = end == std::string_view::npos ? std::string_view() : entry.substr(end + 1);
    if (line.starts_with('[')) {
      inMainGroup = line == "[Desktop Entry]";
      continue;
    }
    if (!inMainGroup || !line.starts_with(key)) continue;
    line.remove_prefix(key.size());
    while (line.starts_with(' '))
      line.remove_prefix(1);
    if (!line.starts_with('=')) continue;
    line.remove_prefix(1);
    while (line.starts_with(' '))
      line.remove_prefix(1);
    while (line.ends_with(' ') || line.ends_with('\r'))
      line.remove_suffix(1);
    return line;
  }
  return std::nullopt;
}

}  // namespace

platform::LoginItemStatus SimLoginItems::status() {
  struct stat info {};
  if (::stat(entryPath().c_str(), &info) != 0 && errno == ENOENT) {
    return platform::LoginItemStatus::notRegistered;
  }
  const std::optional<std::string> entry = readEntry(entryPath());
  if (!entry) return platform::LoginItemStatus::notFound;
  if (entryValue(*entry, "Hidden") == "true") return platform::LoginItemStatus::notRegistered;
  if (entryValue(*entry, "X-GNOME-Autostart-enabled") == "false") {
    return platform::LoginItemStatus::requiresApproval;
  }
  return platform::LoginItemStatus::enabled;
}

void SimLoginItems::openLoginItemsSettings() {
  console_.printLine("Login Items: " + entryPath().string() +
                     " is turned off by the desktop's startup settings "
                     "(X-GNOME-Autostart-enabled=false); turn it on there, or remove that line.");
}

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
