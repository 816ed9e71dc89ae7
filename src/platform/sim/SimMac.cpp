#include "platform/sim/SimMac.h"

namespace lumora::sim {

SimMac::SimMac(const SimPaths& paths)
    : displayState(paths.displayStateFile, console),
      userDefaults(paths.defaultsFile, console),
      openedURLs(loop, paths.urlSocket, console),
      loginItems(paths.autostartDirectory, paths.program, console),
      operatingSystem(displayState, paths.program),
      pasteboard(paths.pasteboardFile) {
  // The stores look at their files once per pass and write what a pass changed at its end.
  displayState.followPasses(loop.passNumber());
  userDefaults.followPasses(loop.passNumber());
  loop.addEndOfPass([this] {
    systemEvents.checkDisplays();
    power.check();
    displayState.flush();
    userDefaults.flush();
  });
}

}  // namespace lumora::sim
