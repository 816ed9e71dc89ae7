#include <unistd.h>

#include <cstdio>

#include "platform/Platform.h"
#include "sim/HeadlessFrontEnd.h"
#include "sim/SimMac.h"

namespace lumora::platform {

Platform& processPlatform() {
  // Made once and never released: the termination-signal thread may use it until the end.
  static sim::SimMac* const mac = new sim::SimMac(sim::SimPaths::fromEnvironment());
  static sim::HeadlessFrontEnd* const frontEnd =
      new sim::HeadlessFrontEnd(*mac, STDIN_FILENO, stdout, ::isatty(STDOUT_FILENO) == 1);
  static_cast<void>(frontEnd);
  return mac->platform;
}

}  // namespace lumora::platform
