#include "platform/sim/frontends/LaunchOptions.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/frontends/OpenURLCommand.h"
#include "platform/sim/frontends/terminal/CursesScreen.h"
#include "platform/sim/machine/FileDescriptor.h"
#include "platform/sim/machine/SimPaths.h"

namespace lumora::sim {
namespace {

constexpr const char* usage =
    "Usage: lumora-virir [--background]\n"
    "       lumora-virir --open URL\n"
    "       lumora-virir --diagnose\n"
    "       lumora-virir --help | -h | --version | -V\n"
    "\n"
    "Lumora Virir on the simulated Mac: in the terminal when standard input and output are one\n"
    "it can draw on, headless otherwise (status lines out, commands in; type \"help\").\n"
    "\n"
    "  --background   run headless with standard input and output on /dev/null, as the login\n"
    "                 item starts it; SIGTERM, SIGINT or SIGHUP ends it\n"
    "  --open URL     hand the running app a URL, as lumora-virir://xdr/up, and print its\n"
    "                 answer; exits with 0 when done, 2 when refused, 1 when no app answers\n"
    "  --diagnose     try raising the display to 800 nits for at most 5 s, put it back, print\n"
    "                 the diagnosis; exits with 0, 2 when the display could not be raised, 1\n"
    "                 when the app is running\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n";

// The arguments after the program's name. The entry point of the app takes none, so they are read
// back from the kernel.
std::vector<std::string> processArguments() {
  std::string all;
  const FileDescriptor file(::open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC));
  char buffer[4096];
  ssize_t count = 0;
  while (file.valid() && (count = ::read(file.get(), buffer, sizeof buffer)) > 0)
    all.append(buffer, static_cast<std::size_t>(count));
  std::vector<std::string> arguments;
  std::size_t start = 0;
  while (start < all.size()) {
    const std::size_t end = std::min(all.find('\0', start), all.size());
    arguments.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

bool isSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

// Standard input and output on /dev/null: nothing is read, and nothing piles up in a log.
void detachFromTerminal() {
  const FileDescriptor null(::open("/dev/null", O_RDWR | O_CLOEXEC));
  if (!null.valid()) return;
  ::dup2(null.get(), STDIN_FILENO);
  ::dup2(null.get(), STDOUT_FILENO);
}

// What the arguments ask for: to run (with --background or without), or to print a text and end
// with a status.
struct CommandLine {
  bool run = true;
  bool background = false;
  bool diagnose = false;
  std::optional<std::string> openURL{};
  int status = 0;
  std::string text;  // printed when not running: on standard output with status 0
};

// Every argument is looked at first: an unknown one fails the line, even after --version.
CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  std::optional<CommandLine> answer;  // the first of --help and --version
  const auto wrong = [](const std::string& why) {
    return CommandLine{.run = false, .status = 2, .text = "lumora-virir: " + why + "\n\n" + usage};
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--open") {
      if (i + 1 == arguments.size()) return wrong("--open needs a URL");
      if (line.openURL) return wrong("--open is given twice");
      line.openURL = arguments[++i];
    } else if (argument == "--help" || argument == "-h") {
      if (!answer) answer = CommandLine{.run = false, .status = 0, .text = usage};
    } else if (argument == "--version" || argument == "-V") {
      if (!answer) {
        answer =
            CommandLine{.run = false, .status = 0, .text = "Lumora Virir " LUMORA_VERSION "\n"};
      }
    } else if (argument == "--background") {
      line.background = true;
    } else if (argument == "--diagnose") {
      line.diagnose = true;
    } else {
      return wrong("unknown option \"" + argument + "\"");
    }
  }
  if (line.openURL && line.background) return wrong("--open runs no app, in the background or not");
  if (line.diagnose && (line.openURL || line.background)) {
    return wrong("--diagnose runs on its own, without --open or --background");
  }
  return answer.value_or(line);
}

}  // namespace

LaunchOptions launchOptions() {
  const CommandLine line = parseCommandLine(processArguments());
  if (!line.run) {
    std::fputs(line.text.c_str(), line.status == 0 ? stdout : stderr);
    std::exit(line.status);
  }
  // Sent before the instance lock, which the app this reaches holds.
  if (line.openURL)
    std::exit(openURLInRunningApp(SimPaths::fromEnvironment().urlSocket, *line.openURL));
  if (line.background) detachFromTerminal();

  LaunchOptions options;
  options.background = line.background;
  // The check prints its report and nothing else: no front end.
  if (line.diagnose) {
    options.diagnose = true;
    return options;
  }
  const bool onTerminal = ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1;
  const std::optional<std::string> unusable =
      onTerminal ? terminal::CursesScreen::whyTerminalCannotBeDrawnOn() : std::nullopt;
  if (unusable) {
    std::fprintf(stderr, "lumora-virir: running headless: %s (type \"help\" for the commands)\n",
                 unusable->c_str());
  }
  options.terminal = onTerminal && !unusable;
  options.colorOutput = !unusable && ::isatty(STDOUT_FILENO) == 1 && !isSet("NO_COLOR");
  return options;
}

}  // namespace lumora::sim
