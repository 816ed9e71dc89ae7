#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#include "platform/Platform.h"
#include "platform/sim/SimMac.h"
#include "platform/sim/frontends/LaunchOptions.h"
#include "platform/sim/frontends/headless/HeadlessFrontEnd.h"
#include "platform/sim/frontends/terminal/TerminalFrontEnd.h"
#include "platform/sim/machine/SingleInstance.h"

namespace lumora::platform {
namespace {

// Text is UTF-8 throughout; without a UTF-8 locale from the environment, C.UTF-8 is used.
void useUTF8Locale() {
  std::setlocale(LC_ALL, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace

Platform& processPlatform() {
  useUTF8Locale();
  // First: --help and --version end the process here, before the simulated Mac touches its files.
  static const sim::LaunchOptions options = sim::launchOptions();
  // Then a second app on the same folders ends, before it touches the display or the files.
  static const sim::SimPaths paths = sim::SimPaths::fromEnvironment();
  sim::becomeTheOnlyInstance(
      paths, options.diagnose ? sim::SecondInstance::fails : sim::SecondInstance::givesWay);
  // Made once and never released: the termination-signal thread may use it until the end.
  static sim::SimMac* const mac = new sim::SimMac(paths);
  if (options.diagnose) {
    mac->application.requestDiagnosis();
    return mac->platform;
  }
  // The terminal front end when there is a terminal to draw on, the headless one otherwise.
  if (options.terminal) {
    static auto* const frontEnd = new sim::terminal::TerminalFrontEnd(*mac);
    static_cast<void>(frontEnd);
  } else {
    // In the background standard input is not read at all: its end would end the app.
    static auto* const frontEnd = new sim::HeadlessFrontEnd(
        *mac, options.background ? -1 : STDIN_FILENO, stdout, options.colorOutput);
    static_cast<void>(frontEnd);
  }
  return mac->platform;
}

}  // namespace lumora::platform
